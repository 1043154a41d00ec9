// Sequence and page-continuity checks: each row's book, ED, folio and page
// against the row before, and the lines counted on a page and the pages on a
// folio. Every finding is a warning; the counters restart where a warning
// would come whether or not warnings are written.
#pragma once

#include "listing.h"
#include "row.h"

namespace rowchecks {

// English 1841 pieces: completes the book number (SS-CENS layout: the header's
// book, advanced when the folio numbers start again) and checks its sequence.
void check_book(const RowContext& ctx, Row& row, Listing& listing);

// ED, page and folio sequence, the page and folio counters, and the place
// names and numbers that must not change in the middle of a page.
void check_sequence(const RowContext& ctx, const Row& row, Tallies& tallies, Listing& listing);

}  // namespace rowchecks
