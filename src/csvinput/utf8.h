// UTF-8 text turned into Windows-1252, the eight-bit text the converter reads.
//
// A spreadsheet saved as UTF-8 is read through this conversion (the line
// reader recognises it by its byte-order mark, or by the first character
// beyond ASCII when it has none). Each character becomes one byte:
//   - U+0000 to U+007F and U+00A0 to U+00FF keep their code;
//   - the 27 characters that Windows-1252 places at 0x80 to 0x9F (the euro
//     sign, the curly quotes, the dashes, S and Z with caron, OE, ...) get
//     their byte there;
//   - every other character becomes 0x81, a byte Windows-1252 leaves unused,
//     which the field extractor reports as an invalid character;
//   - so does every byte that is not part of a well-formed sequence (an
//     overlong form, a surrogate, a code point above U+10FFFF, a sequence cut
//     short), each such byte on its own.
// Never a question mark: that would mark a reading as uncertain.
#pragma once

namespace utf8 {

// The byte an unmappable character or an ill-formed byte becomes.
inline constexpr char unmappable = '\x81';

// The Windows-1252 byte of a character (unmappable when it has none); UTF-16
// text is mapped the same way.
char cp1252_byte(char32_t c);

enum class Sequence {
    whole,       // a well-formed character
    cut,         // well-formed so far, but last comes before its end
    ill_formed,  // never a character, whatever follows
};

// What the bytes from first (a byte of 0x80 or above, first < last) begin.
Sequence sequence_at(const char* first, const char* last);

struct Converted {
    const char* stopped;  // the first byte not converted: last, or where a cut sequence starts
    char* written;        // one past the last byte written
};

// Converts the UTF-8 text [first, last) to Windows-1252 at out, which has
// room for last - first bytes (the text never grows). When at_end is false, a
// well-formed sequence that last cuts short is left unconverted, to be given
// again with the bytes that follow it; when at_end is true, the text is
// complete and such a sequence is ill-formed.
Converted to_cp1252(const char* first, const char* last, char* out, bool at_end);

}  // namespace utf8
