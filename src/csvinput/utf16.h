// UTF-16 text turned into Windows-1252, the eight-bit text the converter reads.
//
// A spreadsheet saved as "Unicode" text is UTF-16 with a byte-order mark (FF
// FE for the low byte first, FE FF for the high byte first); the line reader
// recognises it by the mark. Each character becomes one byte, mapped as UTF-8
// is (see utf8.h): a surrogate pair is one character (beyond Windows-1252, so
// 0x81), and an unpaired surrogate or a last odd byte is 0x81 too.
#pragma once

#include "utf8.h"

namespace utf16 {

enum class ByteOrder { low_first, high_first };

// Converts the UTF-16 text [first, last) to Windows-1252 at out, which has
// room for last - first bytes. When at_end is false, an odd last byte, or a
// high surrogate whose partner has not come yet, is left unconverted, to be
// given again with the bytes that follow it.
utf8::Converted to_cp1252(const char* first, const char* last, char* out, bool at_end, ByteOrder order);

}  // namespace utf16
