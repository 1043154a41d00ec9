#include "names.h"

#include "values.h"
#include "codetables.h"
#include "flags.h"
#include "normalise.h"
#include "text.h"

namespace rowchecks {

namespace {

// A missing surname or forename raises the name flag; once raised, the other
// missing name is not reported again.
void check_surname_forenames(int n, Row& row, Listing& listing)
{
    warn_unusual(listing, "Warning: row %d, surname = %s contains unusual characters\n", n, row.surname);
    if (row.surname.empty()) {
        if (row.name_flag != "x") {
            listing.warning("Warning: row %d, surname missing\n", n);
            row.name_flag = "x";
        }
        row.surname = "-";
    } else {
        text::capitals(row.surname, text::CaseMap::eight_bit);
    }

    warn_unusual(listing, "Warning: row %d, forename(s) = %s contains unusual characters\n", n, row.forenames);
    if (row.forenames.empty()) {
        if (row.name_flag != "x")
            listing.warning("Warning: row %d, forename(s) missing\n", n);
        row.forenames = "-";
        row.name_flag = "x";
    } else {
        inits(row.forenames);
    }

    if (!flag_valid(row.name_flag)) {
        listing.warning("Warning: row %d, name flag = %s invalid value\n", n, row.name_flag);
        row.name_flag = "x";
    }
}

// The relationship in word-initial capitals, looked up in the relationship
// codes when -r asked for it; "Head" belongs on a household's first row.
void check_relationship(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    warn_unusual(listing, "Warning: row %d, relationship = %s contains unusual characters\n", n, row.relationship);
    if (row.relationship.empty()) {
        if (row.detail_flag != "x")
            listing.warning("Warning: row %d, relationship missing\n", n);
        row.relationship = "-";
        row.detail_flag = "x";
    } else {
        inits(row.relationship);
        if (ctx.run.rcheck && row.relationship != "-" &&
            !tabulon::known_code(ctx.tables.rcodes, ctx.tables.relationship_index, row.relationship))
            listing.warning("Warning: row %d, unrecognised relationship code %s\n", n, row.relationship);
    }
    if (row.relationship == "Head" && !row.new_household)
        listing.warning("Warning: row %d, Head of household is not the first entry in the schedule\n", n);
}

// An unknown condition letter stays in the record; only the detail flag tells.
void check_condition(int n, Row& row, Listing& listing)
{
    if (row.condition.empty())
        row.condition = "-";
    else
        upper_ascii(row.condition);
    const text::Field& c = row.condition;
    if (c != "M" && c != "S" && c != "U" && c != "W" && c != "-") {
        listing.warning("Warning: row %d, condition = %s invalid value\n", n, row.condition);
        row.detail_flag = "x";
    }
}

// The 1841 returns recorded neither relationship nor condition.
void drop_1841_details(int n, Row& row, Listing& listing)
{
    if (!row.relationship.empty() && row.relationship != "-")
        listing.info("Info: row %d, relationship ignored\n", n);
    row.relationship = "-";
    if (!row.condition.empty() && row.condition != "-")
        listing.info("Info: row %d, condition ignored\n", n);
    row.condition = "-";
}

}  // namespace

void check_names(const RowContext& ctx, Row& row, Listing& listing)
{
    normalise_flag(row.name_flag);
    check_surname_forenames(ctx.n, row, listing);
    normalise_flag(row.detail_flag);
    if (ctx.run.year > 1841) {
        check_relationship(ctx, row, listing);
        check_condition(ctx.n, row, listing);
    } else {
        drop_1841_details(ctx.n, row, listing);
    }
}

}  // namespace rowchecks
