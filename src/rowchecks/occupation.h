// Occupation: word-initial capitals, the employed status of the 1891 and 1901
// returns folded into it, and the occupation flag.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

void check_occupation(const RowContext& ctx, Row& row, Listing& listing);

}  // namespace rowchecks
