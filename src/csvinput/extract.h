// Cuts one row's text into fields, left to right.
//
// Besides splitting at commas, extract unquotes ("..." with "" for a quote
// inside), drops leading blanks and backslashes, collapses runs of blanks,
// removes trailing blanks, checks every kept character for validity and holds
// the field to its column's width, reporting what it finds to the listing.
#pragma once

#include <cstddef>
#include <string>

class Listing;

// Set by extract, never cleared by it: the row loop clears them at its own
// fixed points.
struct ExtractFlags {
    bool extract_err = false;      // some field was reported (or had an unreported invalid character)
    bool extract_content = false;  // some field came out non-empty
};

struct ExtractContext {
    int n;             // row number of the file, for the messages
    bool header_row;   // a header row of the SS-CENS layout (rows 1 to 3): invalid characters go unreported
};

// The next field of line starting at pos, at most width characters long.
// line holds no line terminator; its end is the end of the string. pos is
// advanced past the field and its delimiter; at the end of line it stays
// there, so further calls give empty fields (missing trailing columns read
// as blank).
std::string extract(const std::string& line, std::size_t& pos, std::size_t width,
                    const ExtractContext& ctx, ExtractFlags& flags, Listing& listing);

// The same, with the field put into field (its old text replaced), for the
// row loop, whose fields keep their buffers from row to row.
void extract_into(std::string& field, const std::string& line, std::size_t& pos, std::size_t width,
                  const ExtractContext& ctx, ExtractFlags& flags, Listing& listing);
