#include "rowloop.h"

#include "intake.h"

namespace rowchecks {

RowOutcome check_row(const std::string& line, const tabulon::Run& run, RowCount& count, Row& row,
                     Carried& carried, Listing& listing)
{
    const int n = count.n;
    if (!cut_fields(line, run, n, row, listing)) {
        listing.warning("Warning: row %d blank, ignored\n", n);
        ++count.row_offset;
        return RowOutcome::blank;
    }
    if (run.brief)
        fill_down(run, carried, n, row, listing);
    keep_number_texts(row);
    settle_status(row);
    store_carried(run, n, row, carried, listing);
    return RowOutcome::record;
}

}  // namespace rowchecks
