// The first person checks: surname, forename(s) and their name flag; the
// relationship to the head and the marital condition, which count only after
// 1841; and the detail flag brought to its lower-case form.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

void check_names(const RowContext& ctx, Row& row, Listing& listing);

}  // namespace rowchecks
