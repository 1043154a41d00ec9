// Small in-place preparations of field texts for the row checks: question
// marks turned into a field's flag, a suffix split off a number, the
// digits-only test and name-style capitals.
#pragma once

#include <string>
#include <string_view>

#include "charclass.h"
#include "field.h"
#include "simd16.h"

class Listing;

// Plain mode: strips trailing question marks (then trailing blanks) with a
// warning; a question mark inside the text is left alone.
void noquery(std::string& text, int n, Listing& listing);
void noquery(text::Field& text, int n, Listing& listing);

// Flag mode: as plain mode, and the field's one-character flag becomes "x"
// when a question mark was stripped or still stands in the text. The flag is
// set whether or not the warning is written.
void noquery(std::string& text, std::string& flag, int n, Listing& listing);
void noquery(text::Field& text, text::Field& flag, int n, Listing& listing);

// Splits one suffix character off a number: a trailing non-digit (12a, 12 a)
// or a digit written after a hash (12#3). Blanks before the cut go too.
// Returns the suffix, or a blank when there is none (text then unchanged).
char part2(std::string& text);
char part2(text::Field& text);

// Every character a digit 0-9; true for the empty text.
bool numeric(std::string_view text);

// The same for a field: its first sixteen characters at once, when it has no
// more (as numbers have).
#if MERROWBY_SIMD16
inline bool numeric(const text::Field& text)
{
    if (text.size() > 16)
        return numeric(std::string_view(text));
    const unsigned digits = simd16::bits(simd16::in_range(simd16::load(text.data()), '0', '9'));
    const unsigned wanted = (1u << text.size()) - 1;
    return (digits & wanted) == wanted;
}
#else
inline bool numeric(const text::Field& text) { return numeric(std::string_view(text)); }
#endif

// Name-style capitals: upper case after a blank, "(", "-", "." or "," and at
// the start (a quote or apostrophe there is passed over), lower case elsewhere.
void inits(std::string& text);
void inits(text::Field& text);
