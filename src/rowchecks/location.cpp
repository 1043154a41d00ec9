#include "location.h"

#include "values.h"

namespace rowchecks {

void check_household_numbers(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    if (!is_number(row.household))
        listing.report(msg::household_not_numeric, n, row.household);
    else if (value(row.household) == 0)
        listing.report(msg::household_zero, n);

    if (row.member.empty())
        listing.report(msg::member_blank, n);
    else if (!numeric(row.member))
        listing.report(msg::member_not_numeric, n, row.member);
    else if (value(row.member) == 0)
        listing.report(msg::member_zero, n);

    // A household begins where the typed number changes (01 and 1 differ).
    if (row.household != ctx.prev.prev_household) {
        row.new_household = true;
        if (value(row.household) != value(ctx.prev.prev_household) + 1)
            listing.report(msg::household_not_sequential, n, row.household);
    } else if (value(row.member) != value(ctx.prev.prev_member) + 1) {
        listing.report(msg::member_not_sequential, n, row.member);
    }
}

void split_location(const RowContext& ctx, Row& row, Listing& listing)
{
    row.ed_text = row.ed;
    row.ed_suffix = part2(row.ed);
    row.folio_text = row.folio;
    row.folio_suffix = part2(row.folio);
    if (row.ed.size() > 3) {
        listing.report(msg::ed_too_long, ctx.n);
        row.ed = "999";
    }
    if (row.folio.size() > 4) {
        listing.report(msg::folio_too_long, ctx.n);
        row.folio = "9999";
    }
    if (row.ed.empty())
        row.ed = "0";
}

// The texts compared are the carried start values, so a first row that
// really holds ED 99 or page 999 is reported the same way.
PieceStart check_initial_values(const RowContext& ctx, const Row& row, Tallies& tallies, Listing& listing)
{
    const int n = ctx.n;
    if (listing.warnings_on()) {
        if (value(row.household) != 1)
            listing.report(msg::initial_household, n, row.household);
        if (value(row.member) != 1)
            listing.report(msg::initial_member, n, row.member);
    }
    if (row.parish == "XX")
        listing.report(msg::initial_parish_not_set, n);
    PieceStart start;
    if (row.ed == "99")
        listing.report(msg::initial_ed_not_set, n);
    else
        start.ed_set = true;
    if (row.folio == "9999")
        listing.report(msg::initial_folio_not_set, n);
    else
        start.folio_set = true;
    if (row.page == "999")
        listing.report(msg::initial_page_not_set, n);
    if (row.schedule == "999")
        listing.report(msg::initial_schedule_not_set, n);

    if (!ctx.run.sct && ctx.run.year > 1880 && !row.language.empty())
        tallies.language_used = true;
    return start;
}

void begin_piece(const PieceStart& start, Carried& carried)
{
    if (start.ed_set)
        carried.prev_ed = "0";
    if (start.folio_set)
        carried.prev_folio = "0";
}

void check_location_numbers(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    if (!is_number(row.ed)) {
        listing.report(msg::ed_not_numeric, n, row.ed);
        row.ed = "99";
    }
    if (row.ed_suffix != ' ' && !charclass::isalnum8(static_cast<unsigned char>(row.ed_suffix))) {
        listing.report(msg::ed_suffix_invalid, n, row.ed_suffix);
        row.ed_suffix = ' ';
    }
    if (!is_number(row.folio)) {
        listing.report(msg::folio_not_numeric, n, row.folio);
        row.folio = "9999";
    }
    if (row.folio_suffix != ' ' && !charclass::isalpha8(static_cast<unsigned char>(row.folio_suffix))) {
        listing.report(msg::folio_suffix_invalid, n, row.folio_suffix);
        row.folio_suffix = ' ';
    }
    if (!is_number(row.page)) {
        listing.report(msg::page_not_numeric, n, row.page);
        row.page = "999";
    }
}

// The unusual-character warnings look at the names as typed, before their
// capitals are set; an empty name draws only the missing-name message.
void check_place_names(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    warn_unusual(listing, msg::parish_unusual, n, row.parish);
    if (row.parish.empty())
        listing.report(msg::parish_missing, n);
    else
        inits(row.parish);

    // 1841 returns have no Eccl. District: its column is read but left alone.
    if (ctx.run.year <= 1841 || !ctx.run.has_district())
        return;
    warn_unusual(listing, msg::district_unusual, n, row.district);
    if (row.district.empty()) {
        listing.report(msg::district_missing, n);
        row.district = "-";
    } else {
        inits(row.district);
    }
}

}  // namespace rowchecks
