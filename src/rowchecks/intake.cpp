#include "intake.h"

#include <utility>

#include "columns.h"
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

    // Cell (from 0) is the next one.
    template <std::size_t Width, std::size_t Cell>
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

    // Whether some cell taken held text.
    bool content(std::size_t) const { return flags_.extract_content; }

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
    template <std::size_t Width, std::size_t Cell>
    [[gnu::always_inline]] void take(text::Field& field)
    {
        static_assert(Width <= PlainRow::slack, "a plain cell is copied slack bytes at a time");
        static_assert(Cell < PlainRow::most_cells);
        const std::size_t start = cells_.start(Cell);
        const std::size_t length = cells_.length(Cell);
        if (length > Width || (length == 1 && *cells_.copy_at(start) == '/')) [[unlikely]] {
            std::size_t pos = start;
            take_cell(field, pos, Width);
            return;
        }
        field.assign_blocks<(Width + 15) / 16>(cells_.copy_at(start), length);
    }

    // Whether some cell of the first `cells` held text.
    bool content(std::size_t cells) const { return flags_.extract_content || cells_.any_text(cells); }

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
};

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

// A flag group ends at column End: the question marks of its columns (from
// the previous group's end on) are taken out into its flag, then the group's
// extraction errors raise it.
template <Layout L, std::size_t End, class Cut>
void end_group(Cut& cut, Row& row)
{
    constexpr auto& columns = columns_of<L>;
    constexpr std::size_t first = [] {
        std::size_t start = End;
        while (start > 0 && columns[start - 1].ends == Group::none)
            --start;
        return start;
    }();
    text::Field& flag = row.*flag_of(columns[End].ends);
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        const auto query = [&]<std::size_t At>() {
            if constexpr (columns[At].query == Query::flag)
                cut.query(row.*columns[At].member, flag);
        };
        (query.template operator()<first + I>(), ...);
    }(std::make_index_sequence<End + 1 - first>{});
    cut.settle_flag(flag);
}

template <Layout L, std::size_t At, class Cut>
[[gnu::always_inline]] inline void take_column(Cut& cut, Row& row)
{
    constexpr Column column = columns_of<L>[At];
    text::Field& field = row.*column.member;
    cut.template take<column.width, At>(field);
    if constexpr (column.query == Query::plain)
        cut.query(field);
    if constexpr (column.ends == Group::unflagged)
        cut.clear_errors();
    else if constexpr (column.ends != Group::none)
        end_group<L, At>(cut, row);
}

// The cells in the order of the layout's columns.
// (The cutter and the row are passed as they are, not through a closure, so
// that the stores into the fields leave them in registers.)
template <Layout L, class Cut, std::size_t... At>
bool take_columns(Cut& cut, Row& row, std::index_sequence<At...>)
{
    (take_column<L, At>(cut, row), ...);
    return cut.content(sizeof...(At));
}

template <class Cut>
bool cut_row(Cut& cut, const tabulon::Run& run, Row& row)
{
    row.status = " ";
    row.address_flag.clear();
    row.new_household = false;
    row.uninhabited_row = false;
    row.ed_suffix = row.folio_suffix = row.schedule_suffix = row.house_suffix = ' ';
    row.age_units = ' ';
    const bool content = visit_layout(run, [&]<Layout L>() {
        return take_columns<L>(cut, row, std::make_index_sequence<columns_of<L>.size()>{});
    });
    if (!run.brief) {
        row.household_cell = row.household;
        row.member_cell = row.member;
    }
    return content;
}

}  // namespace

bool cut_fields(const std::string& line, const tabulon::Run& run, int n, Row& row, Listing& listing)
{
    const PlainRow cells(line);
    if (cells.plain()) {
        PlainCutter cut(cells, line, n, listing);
        return cut_row(cut, run, row);
    }
    Cutter cut(line, n, listing);
    return cut_row(cut, run, row);
}

void fill_down(const tabulon::Run& run, const Carried& carried, int n, Row& row, Listing& listing)
{
    row.household = carried.prev_household;
    set_next(row.member, carried.prev_member);
    // The book runs on from the header's unless the row has a column for it.
    if (!run.has_book_column())
        row.book = carried.prev_book;
    if (row.parish.empty())
        row.parish = carried.prev_parish;
    if (run.has_district() && row.district.empty())
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
