// Small helpers that tidy a field text in place.
#pragma once

#include <string>

namespace text {

// Append blanks until text is width characters long; a longer text is never cut.
std::string& pad(std::string& text, std::size_t width);

// The converter upper-cases with its eight-bit mapping (accented letters too);
// the editor with the C locale's toupper, a to z only.
enum class CaseMap { eight_bit, ascii };

std::string& capitals(std::string& text, CaseMap map);

// Remove trailing blanks (the blank character only: tabs stay).
void strip(std::string& text);

// The decimal value at the start of a text, read as strtol reads it: leading
// white space skipped, an optional sign, then digits; 0 when there are none.
// Values beyond the range of long long are clamped.
long long leading_value(const std::string& text);

}  // namespace text
