// Schedule and house numbers: their suffixes, their forms, the schedule
// sequence within an ED, and the house and address within a household.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

void check_schedule_and_house(const RowContext& ctx, Row& row, Listing& listing);

}  // namespace rowchecks
