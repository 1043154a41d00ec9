// The fixed-width output record of one accepted row.
#pragma once

#include <string>

#include "listing.h"
#include "row.h"
#include "run.h"

namespace record {

// Lays the row's final field values out as one record of the format, exactly
// its rlen bytes, at out, which has room for them. A household or member
// number too large for its field is written as nines and reported as an error
// on row n.
void lay_out(const rowchecks::Row& row, tabulon::Format format, int n, Listing& listing, char* out);

// The same record as a string.
std::string build_record(const rowchecks::Row& row, tabulon::Format format, int n, Listing& listing);

}  // namespace record
