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
    warn_unusual(listing, msg::surname_unusual, n, row.surname);
    if (row.surname.empty()) {
        if (row.name_flag != "x") {
            listing.report(msg::surname_missing, n);
            row.name_flag = "x";
        }
        row.surname = "-";
    } else {
        text::capitals(row.surname, text::CaseMap::eight_bit);
    }

    warn_unusual(listing, msg::forenames_unusual, n, row.forenames);
    if (row.forenames.empty()) {
        if (row.name_flag != "x")
            listing.report(msg::forenames_missing, n);
        row.forenames = "-";
        row.name_flag = "x";
    } else {
        inits(row.forenames);
    }

    if (!flag_valid(row.name_flag)) {
        listing.report(msg::name_flag_invalid, n, row.name_flag);
        row.name_flag = "x";
    }
}

// The relationship in word-initial capitals, looked up in the relationship
// codes when -r asked for it; "Head" belongs on a household's first row.
void check_relationship(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    warn_unusual(listing, msg::relationship_unusual, n, row.relationship);
    if (row.relationship.empty()) {
        if (row.detail_flag != "x")
            listing.report(msg::relationship_missing, n);
        row.relationship = "-";
        row.detail_flag = "x";
    } else {
        inits(row.relationship);
        if (ctx.run.rcheck && row.relationship != "-" &&
            !tabulon::known_code(ctx.tables.rcodes, ctx.tables.relationship_index, row.relationship))
            listing.report(msg::relationship_unrecognised, n, row.relationship);
    }
    if (row.relationship == "Head" && !row.new_household)
        listing.report(msg::head_not_first, n);
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
        listing.report(msg::condition_invalid, n, row.condition);
        row.detail_flag = "x";
    }
}

// The 1841 returns recorded neither relationship nor condition.
void drop_1841_details(int n, Row& row, Listing& listing)
{
    if (!row.relationship.empty() && row.relationship != "-")
        listing.report(msg::relationship_ignored, n);
    row.relationship = "-";
    if (!row.condition.empty() && row.condition != "-")
        listing.report(msg::condition_ignored, n);
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
