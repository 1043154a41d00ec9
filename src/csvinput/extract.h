// Cuts one row's text into fields, left to right.
//
// Besides splitting at commas, extract unquotes ("..." with "" for a quote
// inside), drops leading blanks and backslashes, collapses runs of blanks,
// removes trailing blanks, checks every kept character for validity and holds
// the field to its column's width, reporting what it finds to the listing.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "charclass.h"
#include "field.h"

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
inline void extract_into(std::string& field, const std::string& line, std::size_t& pos, std::size_t width,
                         const ExtractContext& ctx, ExtractFlags& flags, Listing& listing);

// The same into a row's field; scratch holds a cell that needs the full cut.
inline void extract_into(text::Field& field, std::string& scratch, const std::string& line, std::size_t& pos,
                         std::size_t width, const ExtractContext& ctx, ExtractFlags& flags, Listing& listing);

namespace extract_detail {

// Bytes that the cutting rules take as they are: valid, and none of the
// blank, the backslash, the comma and the double quote.
constexpr std::array<bool, 256> plain_bytes = [] {
    std::array<bool, 256> plain{};
    for (int c = 0; c < 256; ++c)
        plain[static_cast<std::size_t>(c)] =
            charclass::isvalid(static_cast<unsigned char>(c)) && c != ' ' && c != '\\' && c != ',' && c != '"';
    return plain;
}();

// Most cells are empty, or plain bytes with single blanks between words, and
// fit their width: for them every rule of the full cut leaves the text as it
// stands. Takes such a cell and returns true; leaves anything else (pos
// unchanged) to the full cut.
template <class Text>
inline bool take_plain_cell(Text& field, const std::string& line, std::size_t& pos, std::size_t width,
                            ExtractFlags& flags)
{
    const char* const text = line.data();
    const std::size_t end = line.size();
    if (pos >= end || text[pos] == ',') {
        field.clear();
        if (pos < end)
            ++pos;
        return pos <= end;
    }
    const auto plain = [&](std::size_t i) { return plain_bytes[static_cast<unsigned char>(text[i])]; };
    if (!plain(pos))
        return false;
    std::size_t stop = pos + 1;
    for (;;) {
        while (stop < end && plain(stop))
            ++stop;
        if (stop + 1 < end && text[stop] == ' ' && plain(stop + 1))
            stop += 2;
        else
            break;
    }
    const std::size_t length = stop - pos;
    if ((stop < end && text[stop] != ',') || length > width || (length == 1 && text[pos] == '/'))
        return false;
    field.assign(text + pos, length);  // into the buffer the field already has
    flags.extract_content = true;
    pos = stop < end ? stop + 1 : end;
    return true;
}

void extract_full(std::string& field, const std::string& line, std::size_t& pos, std::size_t width,
                  const ExtractContext& ctx, ExtractFlags& flags, Listing& listing);

}  // namespace extract_detail

inline void extract_into(std::string& field, const std::string& line, std::size_t& pos, std::size_t width,
                         const ExtractContext& ctx, ExtractFlags& flags, Listing& listing)
{
    if (!extract_detail::take_plain_cell(field, line, pos, width, flags))
        extract_detail::extract_full(field, line, pos, width, ctx, flags, listing);
}

inline void extract_into(text::Field& field, std::string& scratch, const std::string& line, std::size_t& pos,
                         std::size_t width, const ExtractContext& ctx, ExtractFlags& flags, Listing& listing)
{
    if (!extract_detail::take_plain_cell(field, line, pos, width, flags)) {
        extract_detail::extract_full(scratch, line, pos, width, ctx, flags, listing);
        field = scratch;
    }
}
