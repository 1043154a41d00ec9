// The end of a row's checks: the values the next row is compared with, and
// the schedule number brought into the record's three digits.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

// Stores the row's values for the next row: household and member (in the ALL
// layout as typed), then book, parish, district (longer records), the ED and
// folio as typed, page, the schedule and house as typed, address and flag.
void store_carried(const tabulon::Run& run, const Row& row, Carried& carried);

// A schedule of 1000 to 1999 is written as its last three digits with the
// suffix "!"; a larger one is an error and becomes 999.
void fold_schedule(int n, Row& row, Listing& listing);

}  // namespace rowchecks
