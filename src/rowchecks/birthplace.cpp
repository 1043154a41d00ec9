#include "birthplace.h"

#include "values.h"
#include "codetables.h"
#include "flags.h"
#include "normalise.h"
#include "text.h"

namespace rowchecks {

namespace {

constexpr std::size_t code_length = 3;

bool known_county(const RowContext& ctx, std::string_view code)
{
    return !ctx.tables.ccheck || tabulon::known_code(ctx.tables.ccodes, ctx.tables.county_index, code);
}

// A missing county code is written as UNK, which is looked up like any other.
void check_county(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    if (row.county.empty()) {
        listing.report(msg::county_missing, n);
        row.county = "UNK";
        row.birthplace_flag = "x";
    } else {
        text::capitals(row.county, text::CaseMap::eight_bit);
    }
    if (row.county.size() != code_length) {
        listing.report(msg::county_length, n, row.county);
        row.birthplace_flag = "x";
    } else if (!known_county(ctx, row.county)) {
        listing.report(msg::county_unrecognised, n, row.county);
        row.birthplace_flag = "x";
    }
}

// The 1841 returns gave only the county (or Scotland, Ireland, foreign parts),
// so a birth place there is dropped. A missing one raises the flag only in a
// verbose run, whose Info line says why.
void check_birthplace_name(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    if (ctx.run.year > 1841) {
        warn_unusual(listing, msg::birthplace_unusual, n, row.birthplace);
        if (row.birthplace.empty()) {
            if (listing.verbose() && row.birthplace_flag != "x") {
                listing.report(msg::birthplace_missing, n);
                row.birthplace_flag = "x";
            }
            row.birthplace = "-";
        } else {
            inits(row.birthplace);
        }
    } else {
        if (!row.birthplace.empty() && row.birthplace != "-")
            listing.report(msg::birthplace_ignored, n);
        row.birthplace = "-";
    }
    if (!flag_valid(row.birthplace_flag)) {
        listing.report(msg::birthplace_flag_invalid, n, row.birthplace_flag);
        row.birthplace_flag = "x";
    }
}

// VALD-REV only. An empty alternate county code is valid.
void check_alternates(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    if (!row.alt_county.empty()) {
        text::capitals(row.alt_county, text::CaseMap::eight_bit);
        if (row.alt_county.size() != code_length) {
            listing.report(msg::alt_county_length, n, row.alt_county);
            row.birthplace_flag = "x";
        } else if (!known_county(ctx, row.alt_county)) {
            listing.report(msg::alt_county_unrecognised, n, row.alt_county);
            row.birthplace_flag = "x";
        }
    }
    if (ctx.run.year > 1841) {
        warn_unusual(listing, msg::alt_birthplace_unusual, n, row.alt_birthplace);
        inits(row.alt_birthplace);
    } else {
        if (!row.alt_birthplace.empty())
            listing.report(msg::alt_birthplace_ignored, n);
        row.alt_birthplace.clear();
    }
}

}  // namespace

void check_birthplace(const RowContext& ctx, Row& row, Listing& listing)
{
    normalise_flag(row.birthplace_flag);
    check_county(ctx, row, listing);
    check_birthplace_name(ctx, row, listing);
    if (ctx.run.has_alternates())
        check_alternates(ctx, row, listing);
}

}  // namespace rowchecks
