#include "disability.h"

#include "values.h"
#include "normalise.h"

namespace rowchecks {

void check_disability(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    if (ctx.run.year <= 1841) {
        if (!row.disability.empty())
            listing.info("Info: row %d, disability ignored\n", n);
        row.disability.clear();
        return;
    }
    warn_unusual(listing, "Warning: row %d, disability = %s contains unusual characters\n", n, row.disability);
    if (row.disability.empty())
        row.disability = " ";
    else
        inits(row.disability);
}

}  // namespace rowchecks
