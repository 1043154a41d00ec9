#include "text.h"

#include <climits>
#include <ostream>

#include "charclass.h"
#include "simd16.h"

namespace text {

std::string& pad(std::string& text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

namespace {

template <class Text>
Text& capitals_of(Text& text, CaseMap map)
{
    for (char& ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (map == CaseMap::eight_bit)
            ch = static_cast<char>(charclass::tables.upper[c]);
        else if (c >= 'a' && c <= 'z')
            ch = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace

std::string& capitals(std::string& text, CaseMap map) { return capitals_of(text, map); }
#if MERROWBY_SIMD16
// Sixteen characters at a time: every letter (of either case; the eight-bit
// ones but the multiplication and division signs) loses its case bit. The
// blanks past the end stay blanks.
Field& capitals(Field& text, CaseMap map)
{
    if (map != CaseMap::eight_bit || text.size() > 48)
        return capitals_of(text, map);
    using namespace simd16;
    for (std::size_t at = 0; at < text.size(); at += 16) {
        const Block c = load(text.data() + at);
        store(text.data() + at, unless(c, both(charclass::blocks::cased_letter(c), repeat(0x20))));
    }
    return text;
}
#else
Field& capitals(Field& text, CaseMap map) { return capitals_of(text, map); }
#endif

void strip(std::string& text)
{
    const auto last = text.find_last_not_of(' ');
    text.resize(last == std::string::npos ? 0 : last + 1);
}

std::string zero_padded(long long value, std::size_t width)
{
    std::string digits = std::to_string(value);
    if (digits.size() < width)
        digits.insert(value < 0 ? 1 : 0, width - digits.size(), '0');
    return digits;
}

std::string hex_byte(unsigned char byte, HexCase letters)
{
    const char* digits = letters == HexCase::upper ? "0123456789ABCDEF" : "0123456789abcdef";
    return {digits[byte >> 4], digits[byte & 0x0F]};
}

long long read_leading_value(std::string_view text)
{
    // Read by hand as strtoll reads it in the C locale (it is on the path of
    // every row): white space, a sign, digits up to the first other character
    // or an embedded NUL, clamped to the range of long long.
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+'))
        ++p;
    // Up to 18 digits cannot overflow; only a longer run is checked.
    unsigned long long magnitude = 0;
    const char* const digits = p;
    for (; p != end && *p >= '0' && *p <= '9' && p - digits < 18; ++p)
        magnitude = magnitude * 10 + static_cast<unsigned>(*p - '0');
    const unsigned long long limit = negative ? 0ull - static_cast<unsigned long long>(LLONG_MIN) : LLONG_MAX;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) {
        const unsigned digit = static_cast<unsigned>(*p - '0');
        if (magnitude > (limit - digit) / 10)
            return negative ? LLONG_MIN : LLONG_MAX;
        magnitude = magnitude * 10 + digit;
    }
    if (!negative)
        return static_cast<long long>(magnitude);
    return magnitude == limit ? LLONG_MIN : -static_cast<long long>(magnitude);
}

std::ostream& operator<<(std::ostream& out, const Field& field) { return out << std::string_view(field); }

}  // namespace text
