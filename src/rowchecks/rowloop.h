// One data row through intake, the check groups in their fixed order and the
// store of the values the next row is compared with.
#pragma once

#include <string>

#include "codetables.h"
#include "listing.h"
#include "row.h"
#include "run.h"

namespace rowchecks {

// The loop's state before the first data row. The SS-CENS layout starts after
// its three header rows, with the sentinels a blank first row inherits (and the
// first-row checks recognise) and the book of header cell B1; in the ALL layout
// every value starts empty or at zero.
LoopState start_state(const tabulon::Run& run, const std::string& header_book);

enum class RowOutcome { blank, record };

// Takes the row text (line end removed) of row state.count.n. A blank row is
// reported, counted in count.row_offset and leaves every value as it was;
// otherwise state.row holds the values for the record.
RowOutcome check_row(const std::string& line, const tabulon::Run& run, const tabulon::CodeTables& tables,
                     LoopState& state, Listing& listing);

}  // namespace rowchecks
