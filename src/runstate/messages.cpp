#include "messages.h"

namespace msg {

namespace {

std::string_view without_line_ends(std::string_view format)
{
    while (!format.empty() && format.back() == '\n')
        format.remove_suffix(1);
    return format;
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// Matches line from li against format from fi; %s tries every length, the
// shortest first.
bool match_from(std::string_view line, std::size_t li, std::string_view format, std::size_t fi)
{
    while (fi < format.size()) {
        const char f = format[fi];
        if (f != '%' || fi + 1 >= format.size()) {
            if (li >= line.size() || line[li] != f)
                return false;
            ++li, ++fi;
            continue;
        }
        const char conversion = format[fi + 1];
        fi += 2;
        if (conversion == '%') {
            if (li >= line.size() || line[li] != '%')
                return false;
            ++li;
        } else if (conversion == 'c') {
            if (li >= line.size())
                return false;
            ++li;
        } else if (conversion == 'd') {
            if (li < line.size() && line[li] == '-')
                ++li;
            const std::size_t first = li;
            while (li < line.size() && is_digit(line[li]))
                ++li;
            if (li == first)
                return false;
        } else {
            for (std::size_t end = li; end <= line.size(); ++end)
                if (match_from(line, end, format, fi))
                    return true;
            return false;
        }
    }
    return li == line.size();
}

std::size_t fixed_length(std::string_view format)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%')
            ++i;
        else
            ++length;
    }
    return length;
}

}  // namespace

bool matches(std::string_view line, std::string_view format)
{
    return match_from(line, 0, without_line_ends(format), 0);
}

const Entry* find(std::string_view line)
{
    const Entry* best = nullptr;
    std::size_t best_length = 0;
    for (const Entry& entry : catalogue) {
        if (!matches(line, entry.text))
            continue;
        const std::size_t length = fixed_length(entry.text);
        if (!best || length > best_length) {
            best = &entry;
            best_length = length;
        }
    }
    return best;
}

}  // namespace msg
