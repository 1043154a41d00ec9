// One data row through intake, the check groups in their fixed order and the
// store of the values the next row is compared with.
#pragma once

#include <string>

#include "codetables.h"
#include "listing.h"
#include "row.h"
#include "run.h"

namespace rowchecks {

enum class RowOutcome { blank, record };

// Takes the row text (line end removed) of row state.count.n. A blank row is
// reported, counted in count.row_offset and leaves every value as it was;
// otherwise state.row holds the values for the record.
RowOutcome check_row(const std::string& line, const tabulon::Run& run, const tabulon::CodeTables& tables,
                     LoopState& state, Listing& listing);

}  // namespace rowchecks
