#include "disability.h"

#include "values.h"
#include "normalise.h"

namespace rowchecks {

void check_disability(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    if (ctx.run.year <= 1841) {
        if (!row.disability.empty())
            listing.report(msg::disability_ignored, n);
        row.disability.clear();
        return;
    }
    warn_unusual(listing, msg::disability_unusual, n, row.disability);
    if (row.disability.empty())
        row.disability = " ";
    else
        inits(row.disability);
}

}  // namespace rowchecks
