#include "intake.h"

#include "extract.h"
#include "normalise.h"
#include "plainrow.h"
#include "text.h"

namespace rowchecks {

namespace {

// What both cutters share: the extraction errors not yet claimed by a flag
// group, and the full cutting rules for a cell that needs them.
class CutterBase {
public:
    CutterBase(const std::string& line, int n, Listing& listing) : line_(line), ctx_{n, false}, listing_(listing) {}

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

protected:
    // The cell at pos by the full rules; pos is left past its comma.
    void take_cell(text::Field& field, std::size_t& pos, std::size_t width)
    {
        extract_into(field, scratch_, line_, pos, width, ctx_, flags_, listing_);
    }

    const std::string& line_;
    ExtractContext ctx_;
    ExtractFlags flags_;
    Listing& listing_;
    std::string scratch_;
};

// Cuts the cells of any row left to right by the full rules.
class Cutter : public CutterBase {
public:
    using CutterBase::CutterBase;

    template <std::size_t Width>
    void take(text::Field& field)
    {
        // An empty cell, the commonest of all, is taken here at once.
        if (pos_ < line_.size() && line_[pos_] == ',') {
            field.clear();
            ++pos_;
            return;
        }
        take_cell(field, pos_, Width);
    }

    void query(text::Field& text) { noquery(text, ctx_.n, listing_); }
    void query(text::Field& text, text::Field& flag) { noquery(text, flag, ctx_.n, listing_); }

private:
    std::size_t pos_ = 0;
};

// Cuts the cells of a plain row: each is its text between two commas.
class PlainCutter : public CutterBase {
public:
    PlainCutter(const PlainRow& cells, const std::string& line, int n, Listing& listing)
        : CutterBase(line, n, listing), cells_(cells)
    {
    }

    // A cell too long for its column, or a lone "/", is left to the full
    // rules, which report it; it ends at the same comma (the row has no quotes).
    template <std::size_t Width>
    [[gnu::always_inline]] void take(text::Field& field)
    {
        static_assert(Width <= PlainRow::slack, "a plain cell is copied slack bytes at a time");
        const std::size_t cell = next_++;  // the columns are fewer than PlainRow::most_cells
        const std::size_t start = cells_.start(cell);
        const std::size_t length = cells_.length(cell);
        if (length > Width || (length == 1 && *cells_.copy_at(start) == '/')) [[unlikely]] {
            std::size_t pos = start;
            take_cell(field, pos, Width);
            return;
        }
        field.assign_blocks<(Width + 15) / 16>(cells_.copy_at(start), length);
    }

    bool content() const { return flags_.extract_content || cells_.any_text(next_); }

    // Question marks, taken out with their warnings; a row without one has
    // nothing to take out.
    void query(text::Field& text)
    {
        if (cells_.has_question())
            noquery(text, ctx_.n, listing_);
    }
    void query(text::Field& text, text::Field& flag)
    {
        if (cells_.has_question())
            noquery(text, flag, ctx_.n, listing_);
    }

private:
    const PlainRow& cells_;
    std::size_t next_ = 0;  // the next cell to take
};

template <std::size_t Width, class Cut>
void take_queried(Cut& cut, text::Field& field)
{
    cut.template take<Width>(field);
    cut.query(field);
}

template <class Cut>
void take_alternates(Cut& cut, Row& row)
{
    cut.template take<width::county>(row.alt_county);
    cut.template take<width::birthplace>(row.alt_birthplace);
    cut.query(row.alt_birthplace, row.birthplace_flag);
    cut.settle_flag(row.birthplace_flag);
}

// The number after the one a text starts with. Past the largest number a
// text can be read as, the count wraps round to the most negative one
// rather than overflow.
void set_next(text::Field& field, const text::Field& number)
{
    // A number written plainly (digits, no leading zero, short enough never
    // to overflow) is counted up in its text: the last digit goes up, and a
    // 9 carries.
    const std::size_t size = number.size();
    if (size != 0 && size < 18 && number[0] != '0' && numeric(number)) {
        field = number;
        std::size_t at = size;
        while (at > 0 && field[at - 1] == '9')
            field[--at] = '0';
        if (at == 0)
            field = std::string_view("1" + std::string(field));
        else
            ++field[at - 1];
        return;
    }
    const auto value = static_cast<unsigned long long>(text::leading_value(number));
    field.assign_number(static_cast<long long>(value + 1));
}

// The cells in the order of the columns of the run's layout.
template <class Cut>
void cut_columns(Cut& cut, const tabulon::Run& run, Row& row)
{
    row.status = " ";
    row.address_flag.clear();
    row.new_household = false;
    row.uninhabited_row = false;
    row.ed_suffix = row.folio_suffix = row.schedule_suffix = row.house_suffix = ' ';
    row.age_units = ' ';

    if (!run.brief) {
        cut.template take<width::status>(row.status);
        cut.template take<width::book>(row.book);
        cut.template take<width::household>(row.household);
        cut.template take<width::member>(row.member);
        row.household_cell = row.household;
        row.member_cell = row.member;
    }
    take_queried<width::parish>(cut, row.parish);
    if (run.brief && run.rlen > 256)
        take_queried<width::district>(cut, row.district);
    cut.template take<width::ed>(row.ed);
    cut.template take<width::folio>(row.folio);
    cut.template take<width::page>(row.page);
    cut.template take<width::schedule>(row.schedule);
    cut.clear_errors();

    cut.template take<width::house>(row.house);
    cut.template take<width::address>(row.address);
    cut.template take<width::flag>(row.uninhabited);
    cut.query(row.address, row.address_flag);
    cut.settle_flag(row.address_flag);

    cut.template take<width::surname>(row.surname);
    cut.template take<width::forenames>(row.forenames);
    cut.template take<width::flag>(row.name_flag);
    cut.query(row.surname, row.name_flag);
    cut.query(row.forenames, row.name_flag);
    cut.settle_flag(row.name_flag);

    cut.template take<width::relationship>(row.relationship);
    cut.template take<width::condition>(row.condition);
    cut.template take<width::sex>(row.sex);
    cut.template take<width::age>(row.age);
    cut.template take<width::flag>(row.detail_flag);
    cut.query(row.relationship, row.detail_flag);
    cut.settle_flag(row.detail_flag);

    cut.template take<width::occupation>(row.occupation);
    if (run.brief)
        cut.template take<width::flag>(row.employed);
    cut.template take<width::flag>(row.occupation_flag);
    cut.query(row.occupation, row.occupation_flag);
    cut.settle_flag(row.occupation_flag);

    cut.template take<width::county>(row.county);
    cut.template take<width::birthplace>(row.birthplace);
    cut.template take<width::flag>(row.birthplace_flag);
    cut.query(row.birthplace, row.birthplace_flag);
    cut.settle_flag(row.birthplace_flag);

    if (run.brief && run.rlen > 276)
        take_alternates(cut, row);

    take_queried<width::disability>(cut, row.disability);
    cut.template take<width::language>(row.language);
    cut.template take<width::notes>(row.notes);

    if (!run.brief && run.rlen > 256)
        take_queried<width::district>(cut, row.district);
    if (!run.brief && run.rlen > 276)
        take_alternates(cut, row);
    if (run.brief && run.rlen > 276 && run.english_1841())
        cut.template take<width::book>(row.book);
}

}  // namespace

bool cut_fields(const std::string& line, const tabulon::Run& run, int n, Row& row, Listing& listing)
{
    const PlainRow cells(line);
    if (cells.plain()) {
        PlainCutter cut(cells, line, n, listing);
        cut_columns(cut, run, row);
        return cut.content();
    }
    Cutter cut(line, n, listing);
    cut_columns(cut, run, row);
    return cut.content();
}

void fill_down(const tabulon::Run& run, const Carried& carried, int n, Row& row, Listing& listing)
{
    row.household = carried.prev_household;
    set_next(row.member, carried.prev_member);
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
        set_next(row.household, carried.prev_household);
        row.member = "1";
        row.new_household = true;
    }

    if (row.notes == "DELETED") {
        listing.report(msg::marked_deleted, n);
        row.status = "D";
    }
}

void settle_status(Row& row)
{
    if (row.status.empty() || row.status == "Z")
        row.status = " ";
}

}  // namespace rowchecks
