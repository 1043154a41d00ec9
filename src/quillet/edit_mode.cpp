#include "edit_mode.h"

#include "conventions.h"
#include "describe.h"
#include "text.h"

namespace quillet {

bool take_id(const std::string& reply, std::string& id)
{
    if (reply.empty())
        return false;
    if (reply.size() > field::id_width) {
        console("Error: Transcriber id %s is longer than 4 characters, not changed\n", reply);
        return false;
    }
    id = reply;
    text::capitals(id, text::CaseMap::ascii);
    return true;
}

bool take_name(const std::string& reply, std::string& name)
{
    if (reply.empty())
        return false;
    name = reply.substr(0, field::name_width);
    return true;
}

namespace {

bool white_space(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// White space, an optional sign, one or more digits, white space.
bool is_number(const std::string& reply)
{
    std::size_t i = 0;
    while (i < reply.size() && white_space(reply[i]))
        ++i;
    if (i < reply.size() && (reply[i] == '+' || reply[i] == '-'))
        ++i;
    const std::size_t digits = i;
    while (i < reply.size() && reply[i] >= '0' && reply[i] <= '9')
        ++i;
    if (i == digits)
        return false;
    while (i < reply.size() && white_space(reply[i]))
        ++i;
    return i == reply.size();
}

}  // namespace

bool take_count(const std::string& reply, Count& count)
{
    if (reply.empty())
        return false;
    // "1,388" or "12abc" read by their leading digits would store a count
    // the user never typed.
    if (!is_number(reply)) {
        console("Error: Count %s is not a number, not changed\n", reply);
        return false;
    }
    // Anything outside six digits would spill into the neighbouring field.
    const long long value = text::leading_value(reply);
    if (value < 0 || value > max_count) {
        console("Error: Count %s is not between 0 and 999999, not changed\n", reply);
        return false;
    }
    count.value = static_cast<int>(value);
    return true;
}

bool is_yes(const std::string& reply)
{
    return reply == "Y" || reply == "y";
}

namespace {

Outcome written(bool ok)
{
    return ok ? Outcome::go_on : Outcome::write_failed;
}

}  // namespace

Outcome edit_header(const Replies& replies, ParamFile& file, Session& session)
{
    Header& header = session.header;
    TextOut screen;
    describe_transcriber(screen, header);
    bool changed = take_id(ask(replies, "\n\nEnter New Transcriber id (RETURN to leave unchanged): "), header.id);
    if (take_name(ask(replies, "\n\nEnter New Name (RETURN to leave unchanged): "), header.name))
        changed = true;
    if (!changed)
        return Outcome::go_on;
    return written(file.rewrite_header(build_header(header, session.header_record)));
}

namespace {

// The count questions of piece record index, shown just before.
Outcome edit_counts(const Replies& replies, ParamFile& file, RecordIndex index, Piece& piece)
{
    bool changed =
        take_count(ask(replies, "\n\nEnter New household count (RETURN to leave unchanged): "), piece.households);
    if (take_count(ask(replies, "Enter New record count (RETURN to leave unchanged): "), piece.records))
        changed = true;
    if (!changed)
        return Outcome::go_on;
    return written(file.write_counts(index, count_text(piece.households, piece.records)));
}

Outcome edit_parish(const Replies& replies, ParamFile& file, const Session& session, RecordIndex index,
                    const Record& record)
{
    const Parish parish = read_parish_fields(record);
    TextOut screen;
    describe_parish(screen, parish);
    if (parish.updated) {
        if (is_yes(ask(replies, "\nEnter Y to clear, RETURN to leave unchanged): ")))
            return written(file.clear_stamp(index));
    } else {
        if (is_yes(ask(replies, "\nEnter Y to set, RETURN to leave unchanged): ")))
            return written(file.set_stamp(index, session.header.id, session.date));
    }
    return Outcome::go_on;
}

}  // namespace

Outcome edit_piece(const Replies& replies, ParamFile& file, const Session& session, const std::string& number)
{
    const Found found = file.find_piece(number);
    if (found.result == ReadResult::damaged)
        return Outcome::damaged;
    if (found.result == ReadResult::end) {
        console("Error: Piece %s not found\n", number);
        return Outcome::go_on;
    }
    Piece piece = read_piece_fields(found.record);
    TextOut screen;
    describe_piece(screen, piece, "");  // the count question begins with two line ends
    if (const Outcome counts = edit_counts(replies, file, found.index, piece); counts != Outcome::go_on)
        return counts;

    RecordIndex index = found.index;
    Record record{};
    for (;;) {
        switch (file.next_parish(number, index, record)) {
        case ReadResult::damaged:
            return Outcome::damaged;
        case ReadResult::end:
            return Outcome::go_on;
        case ReadResult::whole:
            if (const Outcome parish = edit_parish(replies, file, session, index, record);
                parish != Outcome::go_on)
                return parish;
            break;
        }
    }
}

int run_edit(const Replies& replies, ParamFile& file, Session& session)
{
    Outcome outcome = edit_header(replies, file, session);
    while (outcome == Outcome::go_on) {
        const std::string number = ask(replies, "\nEnter Piece Number (4 digits, RETURN to end): ");
        if (number.empty())
            break;
        outcome = edit_piece(replies, file, session, number);
    }
    switch (outcome) {
    case Outcome::damaged:
        console("Error: Short record - damaged file\n");
        file.close();
        return exit_status::quillet::damaged;
    case Outcome::write_failed:
        // A confirmed change that did not reach the file must not pass for done.
        console_failure(file.write_error(), "Fatal: Data file %s write failed\n", session.data_path);
        file.close();
        return exit_status::fatal;
    case Outcome::go_on:
        break;
    }
    file.close();
    console("\nQuillet finished\n");
    return exit_status::quillet::done;
}

}  // namespace quillet
