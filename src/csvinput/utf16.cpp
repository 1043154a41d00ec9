#include "utf16.h"

namespace utf16 {

namespace {

char16_t unit_at(const char* p, ByteOrder order)
{
    const auto first = static_cast<unsigned char>(p[0]);
    const auto second = static_cast<unsigned char>(p[1]);
    return static_cast<char16_t>(order == ByteOrder::low_first ? first | (second << 8) : (first << 8) | second);
}

bool high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

utf8::Converted to_cp1252(const char* first, const char* last, char* out, bool at_end, ByteOrder order)
{
    const char* p = first;
    while (last - p >= 2) {
        const char16_t unit = unit_at(p, order);
        if (!high_surrogate(unit)) {
            // A lone low surrogate is no character either.
            *out++ = low_surrogate(unit) ? utf8::unmappable : utf8::cp1252_byte(unit);
            p += 2;
            continue;
        }
        if (last - p < 4 && !at_end)
            return {p, out};  // its partner may come with the next bytes
        // A pair is one character above U+FFFF, which Windows-1252 lacks.
        const bool paired = last - p >= 4 && low_surrogate(unit_at(p + 2, order));
        *out++ = utf8::unmappable;
        p += paired ? 4 : 2;
    }
    if (p != last) {
        if (!at_end)
            return {p, out};
        *out++ = utf8::unmappable;  // an odd byte at the end
    }
    return {last, out};
}

}  // namespace utf16
