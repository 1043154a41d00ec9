// The three header rows of the SS-CENS layout, the run description and the
// start values of the row loop.
#pragma once

#include <string>

#include "rowreader.h"
#include "listing.h"
#include "row.h"
#include "run.h"

namespace tabulon {

enum class HeaderOutcome { ok, fatal, read_failed };

// Reads and checks header rows 1 to 3; n is the number of the row read.
// header_book receives the book number of cell B1.
HeaderOutcome read_header_rows(RowReader& in, const Run& run, int& n, std::string& header_book,
                               Listing& listing);

// Writes the line naming the census and formats (and, in the SS-CENS layout,
// how many rows to subtract), sets the start values, and makes the 1841 book
// number check.
void start_rows(const Run& run, const std::string& header_book, rowchecks::LoopState& state, Listing& listing);

}  // namespace tabulon
