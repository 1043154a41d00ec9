// The language column: Welsh, English or both in a piece of England and Wales
// from 1891 whose first row gives a language; Gaelic or both in a Scottish
// piece from 1881; ignored everywhere else.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

void check_language(const RowContext& ctx, const Tallies& tallies, Row& row, Listing& listing);

}  // namespace rowchecks
