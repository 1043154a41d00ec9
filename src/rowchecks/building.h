// Rows that stand for a building or an unused schedule rather than a person
// (uninhabited flag u, b, n or v), the household break such a row forces, and
// the house and address a household's later rows may leave blank.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

// The uninhabited flag: a building row gets its fixed person values and
// begins a household; the row after a building must begin one too. Then the
// highest household number, and (SS-CENS layout) the house and address of a
// continuing household filled from the row before.
void check_building(const RowContext& ctx, Row& row, Tallies& tallies, Listing& listing);

// A building code: u, b, n or v (lower case, as the check leaves the flag).
bool is_building_code(const text::Field& flag);

// Starts a household on this row: schedule 0, the household number raised by
// 1 (SS-CENS layout) or 10000 (ALL layout, so that it cannot meet a typed
// number), member 1.
void force_household_break(const tabulon::Run& run, Row& row);

}  // namespace rowchecks
