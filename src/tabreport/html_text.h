// Piece text for the page: the piece's bytes read as Windows-1252, written as
// UTF-8 with every character that means something to HTML escaped, so that no
// cell can add markup or script. Control bytes (NUL included) show as the
// Unicode control pictures and the five bytes Windows-1252 leaves undefined
// as their hex value, both marked so that they stand out.
#pragma once

#include <string>
#include <string_view>

namespace tabreport {

// For element content.
std::string html_text(std::string_view cp1252);

// For a double-quoted attribute value or element content: the same escapes,
// control bytes as U+FFFD (no markup inside an attribute).
std::string html_attribute(std::string_view cp1252);

// Appends the UTF-8 form of one Windows-1252 byte (0 for the undefined ones,
// which append nothing and return false).
bool append_cp1252(std::string& out, unsigned char byte);

}  // namespace tabreport
