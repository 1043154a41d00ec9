// Eight-bit character classes of the converter.
//
// Transcriptions hold accented letters from the upper half of ISO 8859-1
// (Windows code page 1252 agrees in that range). The C locale knows only ASCII,
// so the converter carries its own case mappings and tests. Every function looks
// only at the unsigned eight-bit value of its argument.
#pragma once

#include <cstddef>
#include <string_view>

#include "simd16.h"

namespace charclass {

// The small tests are defined here, inline, because the row checks apply them
// to every character of most cells; the loops over whole texts look them up
// in tables made from them when compiling.

constexpr unsigned char tolower8(unsigned char c)
{
    if ((c >= 0x41 && c <= 0x5A) || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    return c;
}

constexpr unsigned char toupper8(unsigned char c)
{
    if ((c >= 0x61 && c <= 0x7A) || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    return c;
}

// May the character stand in a field at all?
constexpr bool isvalid(unsigned char c)
{
    if (c < 0x20)
        return false;
    if (c >= 0x80 && c <= 0xBF)
        return false;
    return c != 0xD7 && c != 0xF7;
}

// The punctuation that is usual in names: blank & ' ( ) , - .
constexpr bool isusual(unsigned char c)
{
    switch (c) {
    case ' ': case '&': case '\'': case '(': case ')': case ',': case '-': case '.':
        return true;
    default:
        return false;
    }
}

// The C locale's digit and letter tests, on the unsigned value.
constexpr bool isdigit8(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr bool isalpha8(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool isalnum8(unsigned char c) { return isdigit8(c) || isalpha8(c); }

// Every character a digit 0 to 9 (true for an empty text).
constexpr bool all_digits(std::string_view text)
{
    for (const char c : text)
        if (!isdigit8(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Every character an ASCII letter or usual punctuation; true for "".
bool alphabetic(std::string_view text);

#if MERROWBY_SIMD16
// Some of the tests sixteen characters at a time, each beside the test it
// repeats: a mask of 0xFF where the character passes and 0 where it does not.
namespace blocks {

using simd16::Block, simd16::both, simd16::either, simd16::equal, simd16::in_range, simd16::repeat, simd16::unless;

// Not isvalid: control codes, 0x80 to 0xBF, and the two signs 0xD7 and 0xF7.
inline Block invalid(Block c)
{
    const Block upper_controls = equal(both(c, repeat(static_cast<char>(0xC0))), repeat(static_cast<char>(0x80)));
    const Block signs = either(equal(c, static_cast<char>(0xD7)), equal(c, static_cast<char>(0xF7)));
    return either(either(in_range(c, 0, 0x1F), upper_controls), signs);
}

// A letter that tolower8 or toupper8 changes: a to z, and 0xE0 to 0xFE but
// the division sign, with their capitals (the case bit, 0x20, set makes the
// small letter).
inline Block cased_letter(Block c)
{
    const Block small = either(c, repeat(0x20));
    const Block accented = unless(in_range(small, 0xE0, 0xFE), equal(small, static_cast<char>(0xF7)));
    return either(in_range(small, 'a', 'z'), accented);
}

}  // namespace blocks

// alphabetic for the 16 * count bytes at text, tested sixteen at a time: for
// a text held in a buffer that is blank past its end (a blank is a name
// character), whatever its length up to 16 * count.
inline bool alphabetic_blocks(const char* text, std::size_t count)
{
    using namespace simd16;
    Block all = everything();
    for (std::size_t b = 0; b < count; ++b) {
        const Block c = load(text + 16 * b);
        const Block letter = in_range(either(c, repeat(0x20)), 'a', 'z');
        const Block punctuation = either(in_range(c, '&', ')'), in_range(c, ',', '.'));  // & ' ( ) , - .
        all = both(all, either(either(letter, equal(c, ' ')), punctuation));
    }
    return simd16::all(all);
}
#else
inline bool alphabetic_blocks(const char* text, std::size_t count)
{
    return alphabetic(std::string_view(text, 16 * count));
}
#endif

// The mappings and the name-character test as tables, one entry a byte.
struct Tables {
    unsigned char upper[256];
    unsigned char lower[256];
    bool name_char[256];  // isalpha8 or isusual
};

inline constexpr Tables tables = [] {
    Tables t{};
    for (int i = 0; i < 256; ++i) {
        const auto c = static_cast<unsigned char>(i);
        t.upper[i] = toupper8(c);
        t.lower[i] = tolower8(c);
        t.name_char[i] = isalpha8(c) || isusual(c);
    }
    return t;
}();

}  // namespace charclass
