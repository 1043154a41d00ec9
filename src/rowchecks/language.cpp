#include "language.h"

namespace rowchecks {

namespace {

// The values of a language column in use, in exact case.
bool welsh_value(const text::Field& v) { return v == "W" || v == "E" || v == "B" || v == "-"; }
bool gaelic_value(const text::Field& v) { return v == "G" || v == "B" || v == "-"; }

}  // namespace

void check_language(const RowContext& ctx, const Tallies& tallies, Row& row, Listing& listing)
{
    bool (*valid)(const text::Field&) = nullptr;
    if (tallies.language_used)
        valid = welsh_value;
    else if (ctx.run.sct && ctx.run.year > 1880)
        valid = gaelic_value;

    if (!valid) {
        if (!row.language.empty())
            listing.report(msg::language_ignored, ctx.n);
        row.language = " ";
    } else if (!valid(row.language)) {
        listing.report(msg::language_invalid, ctx.n, row.language);
        row.language = "x";
    }
}

}  // namespace rowchecks
