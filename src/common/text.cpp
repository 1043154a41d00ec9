#include "text.h"

#include <cerrno>
#include <cstdlib>

#include "charclass.h"

namespace text {

std::string& pad(std::string& text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string& capitals(std::string& text, CaseMap map)
{
    for (char& ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (map == CaseMap::eight_bit)
            ch = static_cast<char>(charclass::toupper8(c));
        else if (c >= 'a' && c <= 'z')
            ch = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

void strip(std::string& text)
{
    const auto last = text.find_last_not_of(' ');
    text.resize(last == std::string::npos ? 0 : last + 1);
}

long long leading_value(const std::string& text)
{
    // Stops at an embedded NUL, as it would in a terminated text. strtoll keeps
    // the range the same on every platform (long is 32 bits on Windows).
    const int saved = errno;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    errno = saved;
    return value;
}

}  // namespace text
