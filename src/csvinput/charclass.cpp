#include "charclass.h"

namespace charclass {

unsigned char tolower8(unsigned char c)
{
    if ((c >= 0x41 && c <= 0x5A) || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    return c;
}

unsigned char toupper8(unsigned char c)
{
    if ((c >= 0x61 && c <= 0x7A) || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    return c;
}

bool isvalid(unsigned char c)
{
    if (c < 0x20)
        return false;
    if (c >= 0x80 && c <= 0xBF)
        return false;
    return c != 0xD7 && c != 0xF7;
}

bool isusual(unsigned char c)
{
    switch (c) {
    case ' ': case '&': case '\'': case '(': case ')': case ',': case '-': case '.':
        return true;
    default:
        return false;
    }
}

bool isdigit8(unsigned char c) { return c >= '0' && c <= '9'; }

bool isalpha8(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool isalnum8(unsigned char c) { return isdigit8(c) || isalpha8(c); }

bool alphabetic(std::string_view text)
{
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!isalpha8(c) && !isusual(c))
            return false;
    }
    return true;
}

}  // namespace charclass
