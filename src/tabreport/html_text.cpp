#include "html_text.h"

#include "text.h"

namespace tabreport {

namespace {

// Windows-1252 0x80-0x9F; 0 where the code page defines no character.
constexpr char16_t upper_controls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void append_utf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The HTML escape of an ASCII character, or nullptr when it needs none.
const char* escape_of(char c)
{
    switch (c) {
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '&': return "&amp;";
    case '"': return "&quot;";
    case '\'': return "&#39;";
    default: return nullptr;
    }
}

bool is_control(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

bool append_cp1252(std::string& out, unsigned char byte)
{
    if (byte < 0x80) {
        out += static_cast<char>(byte);
        return true;
    }
    const char32_t c = byte < 0xA0 ? upper_controls[byte - 0x80] : byte;
    if (c == 0)
        return false;
    append_utf8(out, c);
    return true;
}

std::string html_text(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size());
    for (char ch : cp1252) {
        const unsigned char byte = static_cast<unsigned char>(ch);
        if (const char* escape = escape_of(ch)) {
            out += escape;
        } else if (is_control(byte)) {
            out += "<span class=cc>";
            append_utf8(out, byte == 0x7F ? 0x2421 : 0x2400 + byte);
            out += "</span>";
        } else if (!append_cp1252(out, byte)) {
            out += "<span class=cc>&lt;" + text::hex_byte(byte, text::HexCase::upper) + "&gt;</span>";
        }
    }
    return out;
}

std::string html_attribute(std::string_view cp1252)
{
    std::string out;
    for (char ch : cp1252) {
        const unsigned char byte = static_cast<unsigned char>(ch);
        if (const char* escape = escape_of(ch))
            out += escape;
        else if (is_control(byte) || !append_cp1252(out, byte))
            append_utf8(out, 0xFFFD);
    }
    return out;
}

}  // namespace tabreport
