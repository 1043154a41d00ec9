// Household and location checks: the household and member numbers of the ALL
// layout, the ED and folio/SCT book split, the first data row's start values,
// the numeric forms of ED, folio and page, and the civil parish and Eccl.
// District names.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

// ALL layout: the household and member numbers typed in the row, and whether
// the row begins a household.
void check_household_numbers(const RowContext& ctx, Row& row, Listing& listing);

// Splits the ED and folio/SCT book suffixes off (keeping the texts as typed)
// and replaces numbers that are too long.
void split_location(const RowContext& ctx, Row& row, Listing& listing);

// What the first data row found of the piece's start: an ED and a folio that
// were set start the piece's first ED and folio from 0.
struct PieceStart {
    bool ed_set = false;
    bool folio_set = false;
};

// First data row only: the start values that were left blank, and whether the
// piece uses the language column.
PieceStart check_initial_values(const RowContext& ctx, const Row& row, Tallies& tallies, Listing& listing);

// The previous ED and folio of the first data row, from what it found.
void begin_piece(const PieceStart& start, Carried& carried);

// ED, folio/SCT book and page as numbers, and their suffixes.
void check_location_numbers(const RowContext& ctx, Row& row, Listing& listing);

// The civil parish and Eccl. District names, given name-style capitals.
void check_place_names(const RowContext& ctx, Row& row, Listing& listing);

}  // namespace rowchecks
