// Eight-bit character classes of the converter.
//
// Transcriptions hold accented letters from the upper half of ISO 8859-1
// (Windows code page 1252 agrees in that range). The C locale knows only ASCII,
// so the converter carries its own case mappings and tests. Every function looks
// only at the unsigned eight-bit value of its argument.
#pragma once

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// The tests sixteen characters at a time: each gives a mask of 0xFF where the
// character passes and 0 where it does not.
namespace blocks {

inline __m128i equal(__m128i c, char value) { return _mm_cmpeq_epi8(c, _mm_set1_epi8(value)); }

// low <= c <= high, on the unsigned values.
inline __m128i in_range(__m128i c, unsigned char low, unsigned char high)
{
    const __m128i offset = _mm_sub_epi8(c, _mm_set1_epi8(static_cast<char>(low)));
    return _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(static_cast<char>(high - low))), offset);
}

// A letter of either case that the eight-bit mappings pair: a to z, and 0xE0
// to 0xFE but the division sign, with their capitals (the case bit, 0x20,
// set makes the small letter).
inline __m128i cased_letter(__m128i c)
{
    const __m128i small = _mm_or_si128(c, _mm_set1_epi8(0x20));
    return _mm_or_si128(in_range(small, 'a', 'z'),
                        _mm_andnot_si128(equal(small, static_cast<char>(0xF7)), in_range(small, 0xE0, 0xFE)));
}

}  // namespace blocks
#endif

// The same for the 16 * blocks bytes at text, tested sixteen at a time: for a
// text held in a buffer that is blank past its end (a blank is a name
// character), whatever its length up to 16 * blocks.
inline bool alphabetic_blocks(const char* text, std::size_t blocks)
{
#if defined(__SSE2__)
    using namespace blocks;
    __m128i all = _mm_set1_epi8(-1);
    for (std::size_t b = 0; b < blocks; ++b) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * b));
        const __m128i letter = in_range(_mm_or_si128(c, _mm_set1_epi8(0x20)), 'a', 'z');
        const __m128i punctuation = _mm_or_si128(in_range(c, '&', ')'), in_range(c, ',', '.'));  // & ' ( ) , - .
        all = _mm_and_si128(all, _mm_or_si128(_mm_or_si128(letter, equal(c, ' ')), punctuation));
    }
    return _mm_movemask_epi8(all) == 0xFFFF;
#else
    return alphabetic(std::string_view(text, 16 * blocks));
#endif
}

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
