// Disability (deaf, blind, imbecile and the like), recorded from 1851 on.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

void check_disability(const RowContext& ctx, Row& row, Listing& listing);

}  // namespace rowchecks
