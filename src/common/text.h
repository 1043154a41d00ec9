// Small helpers for field texts: tidying them in place, and the numbers read
// from them or written into them.
#pragma once

#include <string>
#include <string_view>

#include "field.h"

namespace text {

// Append blanks until text is width characters long; a longer text is never cut.
std::string& pad(std::string& text, std::size_t width);

// The converter upper-cases with its eight-bit mapping (accented letters too);
// the editor with the C locale's toupper, a to z only.
enum class CaseMap { eight_bit, ascii };

std::string& capitals(std::string& text, CaseMap map);
Field& capitals(Field& text, CaseMap map);

// Remove trailing blanks (the blank character only: tabs stay).
void strip(std::string& text);

// value in decimal, zero-filled after its sign to at least width characters
// (printf's "%0*lld"), for fields of a fixed number of digits.
std::string zero_padded(long long value, std::size_t width);

// byte as two hex digits, in capitals (<1B>) or not (\x1b).
enum class HexCase { lower, upper };
std::string hex_byte(unsigned char byte, HexCase letters);

// The whole reading of leading_value, for any text.
long long read_leading_value(std::string_view text);

// The decimal value at the start of a text, read as strtol reads it: leading
// white space skipped, an optional sign, then digits; 0 when there are none.
// Values beyond the range of long long are clamped. Inline for the common
// text that starts with a few digits: the row checks read several numbers in
// every row.
inline long long leading_value(std::string_view text)
{
    long long value = 0;
    std::size_t digits = 0;
    for (; digits < text.size() && digits < 18 && text[digits] >= '0' && text[digits] <= '9'; ++digits)
        value = value * 10 + (text[digits] - '0');
    if (digits == 0 || digits == 18)
        return read_leading_value(text);  // blanks, a sign, no digits, or a long number
    return value;
}

// The same for a field. Its buffer holds a blank (or its closing NUL) after
// the text, so a run of digits ends inside it without a test of the length.
inline long long leading_value(const Field& text)
{
    const char* const p = text.data();
    unsigned long long value = 0;
    std::size_t digits = 0;
    for (; static_cast<unsigned char>(p[digits] - '0') <= 9; ++digits)
        value = value * 10 + static_cast<unsigned>(p[digits] - '0');
    if (digits == 0 || digits >= 18)
        return read_leading_value(text);  // blanks, a sign, no digits, or a long number
    return static_cast<long long>(value);
}

}  // namespace text
