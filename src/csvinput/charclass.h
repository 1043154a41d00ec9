// Eight-bit character classes of the converter.
//
// Transcriptions hold accented letters from the upper half of ISO 8859-1
// (Windows code page 1252 agrees in that range). The C locale knows only ASCII,
// so the converter carries its own case mappings and tests. Every function looks
// only at the unsigned eight-bit value of its argument.
#pragma once

#include <string_view>

namespace charclass {

unsigned char tolower8(unsigned char c);
unsigned char toupper8(unsigned char c);

// May the character stand in a field at all?
bool isvalid(unsigned char c);

// The punctuation that is usual in names: blank & ' ( ) , - .
bool isusual(unsigned char c);

// Every character an ASCII letter or usual punctuation; true for "".
bool alphabetic(std::string_view text);

// The C locale's digit and letter tests, on the unsigned value.
bool isdigit8(unsigned char c);
bool isalpha8(unsigned char c);
bool isalnum8(unsigned char c);

}  // namespace charclass
