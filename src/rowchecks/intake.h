// Row intake: cutting a spreadsheet row into its named fields, the flag
// groups, blank rows, and the SS-CENS fill-down and household numbering.
#pragma once

#include <string>

#include "listing.h"
#include "row.h"
#include "run.h"

namespace rowchecks {

// Cuts the row text (line end already removed) into row's fields for the run's
// layout and record length, applying the question-mark rules and raising each
// group's flag on an extraction error. Returns false when every field was empty
// (a blank row). Fields that the layout does not read keep their values.
bool cut_fields(const std::string& line, const tabulon::Run& run, int n, Row& row, Listing& listing);

// SS-CENS layout: numbers the member and, on a row with a schedule number, the
// household; fills empty location cells from the previous row; marks DELETED rows.
void fill_down(const tabulon::Run& run, const Carried& carried, int n, Row& row, Listing& listing);

// A status of "Z" or an empty status is written as a blank.
void settle_status(Row& row);

}  // namespace rowchecks
