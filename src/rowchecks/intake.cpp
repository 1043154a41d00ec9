#include "intake.h"

#include "extract.h"
#include "normalise.h"
#include "plainrow.h"
#include "text.h"

namespace rowchecks {

namespace {

// Cuts the cells of one row left to right, remembering extraction errors
// until a flag group claims them.
class Cutter {
public:
    Cutter(const std::string& line, int n, Listing& listing)
        : line_(line), plain_row_(line), ctx_{n, false}, listing_(listing)
    {
    }

    // Inline: a row takes some thirty cells, and most rows are plain.
    [[gnu::always_inline]] void take(text::Field& field, std::size_t width)
    {
        if (plain_row_.plain())
            take_plain(field, width);
        else
            take_any(field, width);
    }

    // Question marks, taken out with their warnings; a row without one
    // (the scan of a plain row tells) has nothing to take out.
    void query(text::Field& text)
    {
        if (plain_row_.may_hold('?'))
            noquery(text, ctx_.n, listing_);
    }
    void query(text::Field& text, text::Field& flag)
    {
        if (plain_row_.may_hold('?'))
            noquery(text, flag, ctx_.n, listing_);
    }

    void clear_errors() { flags_.extract_err = false; }

    // A group's flag records any extraction error since the previous group.
    void settle_flag(text::Field& flag)
    {
        if (flags_.extract_err) {
            flag = "x";
            flags_.extract_err = false;
        }
    }

    bool content() const { return flags_.extract_content; }

private:
    // A cell of a plain row is its text up to the next comma, unless it is
    // too long for its column or a lone "/", which the full rules report.
    // Past the last comma every cell is empty.
    [[gnu::always_inline]] void take_plain(text::Field& field, std::size_t width)
    {
        const std::size_t end = plain_row_.next_comma();
        const std::size_t length = end - pos_;
        if (length > width || (length == 1 && line_[pos_] == '/')) [[unlikely]] {
            take_cell(field, width);  // it ends at the same comma: the row has no quotes
            return;
        }
        field.assign48(plain_row_.copy_at(pos_), length);
        flags_.extract_content |= length != 0;
        pos_ = end + (end < line_.size());
    }

    void take_any(text::Field& field, std::size_t width)
    {
        // An empty cell, the commonest of all, is taken here at once.
        if (pos_ < line_.size() && line_[pos_] == ',') {
            field.clear();
            ++pos_;
            return;
        }
        take_cell(field, width);
    }

    static_assert(width::notes <= PlainRow::slack, "a plain cell is copied slack bytes at a time");

    void take_cell(text::Field& field, std::size_t width);

    const std::string& line_;
    PlainRow plain_row_;
    std::size_t pos_ = 0;
    ExtractContext ctx_;
    ExtractFlags flags_;
    Listing& listing_;
    std::string scratch_;
};

void Cutter::take_cell(text::Field& field, std::size_t width)
{
    extract_into(field, scratch_, line_, pos_, width, ctx_, flags_, listing_);
}

void take_queried(Cutter& cut, text::Field& field, std::size_t width)
{
    cut.take(field, width);
    cut.query(field);
}

void take_alternates(Cutter& cut, Row& row)
{
    cut.take(row.alt_county, width::county);
    cut.take(row.alt_birthplace, width::birthplace);
    cut.query(row.alt_birthplace, row.birthplace_flag);
    cut.settle_flag(row.birthplace_flag);
}

std::string plus_one(std::string_view number)
{
    return std::to_string(text::leading_value(number) + 1);
}

}  // namespace

bool cut_fields(const std::string& line, const tabulon::Run& run, int n, Row& row, Listing& listing)
{
    Cutter cut(line, n, listing);
    row.status = " ";
    row.address_flag.clear();
    row.new_household = false;
    row.uninhabited_row = false;
    row.ed_suffix = row.folio_suffix = row.schedule_suffix = row.house_suffix = ' ';
    row.age_units = ' ';

    if (!run.brief) {
        cut.take(row.status, width::status);
        cut.take(row.book, width::book);
        cut.take(row.household, width::household);
        cut.take(row.member, width::member);
        row.household_cell = row.household;
        row.member_cell = row.member;
    }
    take_queried(cut, row.parish, width::parish);
    if (run.brief && run.rlen > 256)
        take_queried(cut, row.district, width::district);
    cut.take(row.ed, width::ed);
    cut.take(row.folio, width::folio);
    cut.take(row.page, width::page);
    cut.take(row.schedule, width::schedule);
    cut.clear_errors();

    cut.take(row.house, width::house);
    cut.take(row.address, width::address);
    cut.take(row.uninhabited, width::flag);
    cut.query(row.address, row.address_flag);
    cut.settle_flag(row.address_flag);

    cut.take(row.surname, width::surname);
    cut.take(row.forenames, width::forenames);
    cut.take(row.name_flag, width::flag);
    cut.query(row.surname, row.name_flag);
    cut.query(row.forenames, row.name_flag);
    cut.settle_flag(row.name_flag);

    cut.take(row.relationship, width::relationship);
    cut.take(row.condition, width::condition);
    cut.take(row.sex, width::sex);
    cut.take(row.age, width::age);
    cut.take(row.detail_flag, width::flag);
    cut.query(row.relationship, row.detail_flag);
    cut.settle_flag(row.detail_flag);

    cut.take(row.occupation, width::occupation);
    if (run.brief)
        cut.take(row.employed, width::flag);
    cut.take(row.occupation_flag, width::flag);
    cut.query(row.occupation, row.occupation_flag);
    cut.settle_flag(row.occupation_flag);

    cut.take(row.county, width::county);
    cut.take(row.birthplace, width::birthplace);
    cut.take(row.birthplace_flag, width::flag);
    cut.query(row.birthplace, row.birthplace_flag);
    cut.settle_flag(row.birthplace_flag);

    if (run.brief && run.rlen > 276)
        take_alternates(cut, row);

    take_queried(cut, row.disability, width::disability);
    cut.take(row.language, width::language);
    cut.take(row.notes, width::notes);

    if (!run.brief && run.rlen > 256)
        take_queried(cut, row.district, width::district);
    if (!run.brief && run.rlen > 276)
        take_alternates(cut, row);
    if (run.brief && run.rlen > 276 && run.english_1841())
        cut.take(row.book, width::book);

    return cut.content();
}

void fill_down(const tabulon::Run& run, const Carried& carried, int n, Row& row, Listing& listing)
{
    row.household = carried.prev_household;
    row.member = plus_one(carried.prev_member);
    // The book runs on from the header's unless the row has a column for it.
    if (!(run.rlen > 276 && run.english_1841()))
        row.book = carried.prev_book;
    if (row.parish.empty())
        row.parish = carried.prev_parish;
    if (run.rlen > 256 && row.district.empty())
        row.district = carried.prev_district;
    if (row.ed.empty())
        row.ed = carried.prev_ed;
    if (row.folio.empty())
        row.folio = carried.prev_folio;
    if (row.page.empty())
        row.page = carried.prev_page;

    if (row.schedule.empty()) {
        // The row continues the previous household. A building code is not
        // inherited: the row after a building is a person, not another building.
        row.schedule = carried.prev_schedule;
        if (row.uninhabited.empty()) {
            const text::Field& prev = carried.prev_uninhabited;
            const bool building = prev.size() == 1 && std::string_view("ubnvUBNV").find(prev[0]) != std::string_view::npos;
            if (!building)
                row.uninhabited = prev;
        }
    } else {
        row.household = plus_one(carried.prev_household);
        row.member = "1";
        row.new_household = true;
    }

    if (row.notes == "DELETED") {
        listing.warning("Warning: row %d, is marked DELETED\n", n);
        row.status = "D";
    }
}

void settle_status(Row& row)
{
    if (row.status.empty() || row.status == "Z")
        row.status = " ";
}

}  // namespace rowchecks
