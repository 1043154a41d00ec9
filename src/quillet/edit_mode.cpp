#include "edit_mode.h"

#include "exit_status.h"
#include "text.h"

namespace quillet {

bool take_id(Console& console, const std::string& reply, std::string& id)
{
    if (reply.empty())
        return false;
    if (reply.size() > field::id_width) {
        write_text(console.out, "Error: Transcriber id %s is longer than 4 characters, not changed\n",
                   reply.c_str());
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

bool take_count(Console& console, const std::string& reply, Count& count)
{
    if (reply.empty())
        return false;
    // Anything outside six digits would spill into the neighbouring field.
    const long long value = text::leading_value(reply);
    if (value < 0 || value > max_count) {
        write_text(console.out, "Error: Count %s is not between 0 and 999999, not changed\n", reply.c_str());
        return false;
    }
    count.value = static_cast<int>(value);
    return true;
}

bool is_yes(const std::string& reply)
{
    return reply == "Y" || reply == "y";
}

void edit_header(Console& console, ParamFile& file, Session& session)
{
    Header& header = session.header;
    write_text(console.out, "Transcriber id : %s, Name : %s\n", header.id.c_str(), header.name.c_str());
    bool changed =
        take_id(console, ask(console, "\n\nEnter New Transcriber id (RETURN to leave unchanged): "), header.id);
    if (take_name(ask(console, "\n\nEnter New Name (RETURN to leave unchanged): "), header.name))
        changed = true;
    if (changed)
        file.rewrite_header(build_header(header, session.header_record));
}

namespace {

void edit_counts(Console& console, ParamFile& file, long index, Piece& piece)
{
    write_text(console.out, "Registration District: %s, LDS Film: %s\n", piece.district.c_str(),
               piece.film.c_str());
    // No line end: the next prompt starts with two.
    write_text(console.out, "Current household count: %d, Record count: %d", piece.households.value,
               piece.records.value);
    bool changed = take_count(
        console, ask(console, "\n\nEnter New household count (RETURN to leave unchanged): "), piece.households);
    if (take_count(console, ask(console, "Enter New record count (RETURN to leave unchanged): "), piece.records))
        changed = true;
    if (changed)
        file.write_counts(index, count_text(piece.households, piece.records));
}

void edit_parish(Console& console, ParamFile& file, const Session& session, long index, const Record& record)
{
    const Parish parish = read_parish_fields(record);
    write_text(console.out, "Civil parish: %s, ", parish.name.c_str());
    if (parish.updated) {
        write_text(console.out, "Updated by: %s On %s\n", parish.updated_by.c_str(), parish.updated_on.c_str());
        if (is_yes(ask(console, "\nEnter Y to clear, RETURN to leave unchanged): ")))
            file.clear_stamp(index);
    } else {
        write_text(console.out, "Not updated\n");
        if (is_yes(ask(console, "\nEnter Y to set, RETURN to leave unchanged): ")))
            file.set_stamp(index, session.header.id, session.date);
    }
}

}  // namespace

bool edit_piece(Console& console, ParamFile& file, const Session& session, const std::string& number)
{
    Found found = file.find_piece(number);
    if (found.result == ReadResult::damaged)
        return false;
    if (found.result == ReadResult::end) {
        write_text(console.out, "Error: Piece %s not found\n", number.c_str());
        return true;
    }
    Piece piece = read_piece_fields(found.record);
    edit_counts(console, file, found.index, piece);

    long index = found.index;
    Record record{};
    for (;;) {
        switch (file.next_parish(number, index, record)) {
        case ReadResult::damaged:
            return false;
        case ReadResult::end:
            return true;
        case ReadResult::whole:
            edit_parish(console, file, session, index, record);
            break;
        }
    }
}

int run_edit(Console& console, ParamFile& file, Session& session)
{
    edit_header(console, file, session);
    for (;;) {
        const std::string number = ask(console, "\nEnter Piece Number (4 digits, RETURN to end): ");
        if (number.empty())
            break;
        if (!edit_piece(console, file, session, number)) {
            write_text(console.out, "Error: Short record - damaged file\n");
            file.close();
            return status_damaged;
        }
    }
    file.close();
    write_text(console.out, "\nQuillet finished\n");
    return status_done;
}

}  // namespace quillet
