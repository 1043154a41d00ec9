// Where the person was born: the county code (looked up in the county codes
// when they were loaded), the birth place, the alternate county code and birth
// place of the VALD-REV layout, and the birth place flag that covers them all.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

void check_birthplace(const RowContext& ctx, Row& row, Listing& listing);

}  // namespace rowchecks
