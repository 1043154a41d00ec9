#include "rowloop.h"

#include "birthplace.h"
#include "building.h"
#include "disability.h"
#include "intake.h"
#include "language.h"
#include "location.h"
#include "names.h"
#include "occupation.h"
#include "schedule.h"
#include "sequence.h"
#include "sexage.h"
#include "store.h"

namespace rowchecks {

namespace {

// Household and location: numbers, suffixes, the first row's start values,
// numeric forms and place names.
void check_location(const RowContext& ctx, Row& row, Carried& carried, Tallies& tallies, Listing& listing)
{
    if (!ctx.run.brief)
        check_household_numbers(ctx, row, listing);
    split_location(ctx, row, listing);
    if (ctx.first())
        begin_piece(check_initial_values(ctx, row, tallies, listing), carried);
    check_location_numbers(ctx, row, listing);
    settle_status(row);
    check_place_names(ctx, row, listing);
}

}  // namespace

LoopState start_state(const tabulon::Run& run, const std::string& header_book)
{
    LoopState state;
    if (!run.brief)
        return state;
    state.count = RowCount{3, 4, 3};
    Carried& c = state.carried;
    c.prev_parish = "XX";
    c.prev_district = "-";
    c.prev_ed = "99";
    c.prev_folio = run.sct ? "0" : "9999";
    c.prev_page = "999";
    c.prev_schedule = "999";
    c.prev_house.clear();
    c.prev_address = "-";
    c.prev_uninhabited = "-";
    c.prev_book = header_book;
    return state;
}

RowOutcome check_row(const std::string& line, const tabulon::Run& run, const tabulon::CodeTables& tables,
                     LoopState& state, Listing& listing)
{
    Row& row = state.row;
    const int n = state.count.n;
    if (!cut_fields(line, run, n, row, listing)) {
        listing.report(msg::blank_row, n);
        ++state.count.row_offset;
        return RowOutcome::blank;
    }
    const RowContext ctx{run, tables, state.carried, n, state.count.first_row};
    if (run.brief)
        fill_down(run, state.carried, n, row, listing);

    check_location(ctx, row, state.carried, state.tallies, listing);
    check_book(ctx, row, listing);
    check_sequence(ctx, row, state.tallies, listing);
    check_building(ctx, row, state.tallies, listing);
    check_schedule_and_house(ctx, row, listing);
    // A building row has no person to check: its person fields are fixed.
    if (!row.uninhabited_row) {
        check_names(ctx, row, listing);
        check_sex_age(ctx, row, listing);
        check_occupation(ctx, row, listing);
        check_birthplace(ctx, row, listing);
        check_disability(ctx, row, listing);
        check_language(ctx, state.tallies, row, listing);
    }

    store_carried(run, row, state.carried);
    fold_schedule(n, row, listing);
    return RowOutcome::record;
}

}  // namespace rowchecks
