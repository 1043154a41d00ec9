// Sex and age: the sex marker, the age split into a number and its units
// letter with a limit per unit, married or widowed children, and the detail
// flag's final test.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

void check_sex_age(const RowContext& ctx, Row& row, Listing& listing);

}  // namespace rowchecks
