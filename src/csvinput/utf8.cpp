#include "utf8.h"

#include <cstddef>

namespace utf8 {

namespace {

// The characters of Windows-1252's bytes 0x80 to 0x9F; 0 where the byte
// stands for none.
constexpr char32_t cp1252_high[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};

// What a lead byte starts: the sequence's length and the range its second
// byte must lie in (which rules out overlong forms, surrogates and code points
// above U+10FFFF); length 0 for a byte that starts no sequence.
struct Lead {
    int length;
    unsigned char low, high;
};

Lead lead_of(unsigned char b)
{
    if (b >= 0xC2 && b <= 0xDF)
        return {2, 0x80, 0xBF};
    if (b == 0xE0)
        return {3, 0xA0, 0xBF};
    if (b == 0xED)
        return {3, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF)
        return {3, 0x80, 0xBF};
    if (b == 0xF0)
        return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3)
        return {4, 0x80, 0xBF};
    if (b == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// Checks the sequence starting at p; on whole, c is its code point.
Sequence decode(const unsigned char* p, const unsigned char* last, char32_t& c)
{
    const Lead lead = lead_of(*p);
    if (lead.length == 0)
        return Sequence::ill_formed;
    c = *p & (0xFF >> (lead.length + 1));
    for (int k = 1; k < lead.length; ++k) {
        if (p + k == last)
            return Sequence::cut;
        const unsigned char b = p[k];
        const unsigned char low = k == 1 ? lead.low : 0x80;
        const unsigned char high = k == 1 ? lead.high : 0xBF;
        if (b < low || b > high)
            return Sequence::ill_formed;
        c = (c << 6) | (b & 0x3F);
    }
    return Sequence::whole;
}

}  // namespace

char cp1252_byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < 32; ++i)
        if (cp1252_high[i] == c)
            return static_cast<char>(0x80 + i);
    return unmappable;
}

Sequence sequence_at(const char* first, const char* last)
{
    char32_t c = 0;
    return decode(reinterpret_cast<const unsigned char*>(first), reinterpret_cast<const unsigned char*>(last), c);
}

Converted to_cp1252(const char* first, const char* last, char* out, bool at_end)
{
    const auto* p = reinterpret_cast<const unsigned char*>(first);
    const auto* const end = reinterpret_cast<const unsigned char*>(last);
    while (p != end) {
        if (*p < 0x80) {
            *out++ = static_cast<char>(*p++);
            continue;
        }
        char32_t c = 0;
        switch (decode(p, end, c)) {
        case Sequence::whole:
            *out++ = cp1252_byte(c);
            p += lead_of(*p).length;
            break;
        case Sequence::cut:
            if (!at_end)
                return {reinterpret_cast<const char*>(p), out};
            [[fallthrough]];
        case Sequence::ill_formed:
            // This byte alone; whatever follows it is taken on its own.
            *out++ = unmappable;
            ++p;
            break;
        }
    }
    return {last, out};
}

}  // namespace utf8
