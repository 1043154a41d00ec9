#include "normalise.h"

#include "charclass.h"
#include "listing.h"

namespace {

// Step one of both modes: true when a trailing question mark was stripped.
bool strip_trailing_query(std::string& text)
{
    if (text.empty() || text.back() != '?')
        return false;
    text.pop_back();
    // One pass: question marks first, then blanks; a mark before a blank
    // survives (it is no longer trailing after the blanks go).
    while (!text.empty() && text.back() == '?')
        text.pop_back();
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return true;
}

bool starts_new_word(char previous)
{
    switch (previous) {
    case ' ': case '(': case '-': case '.': case ',':
        return true;
    default:
        return false;
    }
}

}  // namespace

void noquery(std::string& text, int n, Listing& listing)
{
    if (strip_trailing_query(text))
        listing.warning("Warning: row %d, trailing \"?\" removed.\n", n);
}

void noquery(std::string& text, std::string& flag, int n, Listing& listing)
{
    if (strip_trailing_query(text)) {
        flag = "x";
        listing.warning("Warning: row %d, trailing \"?\" removed and flag set.\n", n);
    }
    if ((flag.empty() || flag[0] != 'x') && text.find('?') != std::string::npos) {
        flag = "x";
        listing.warning("Warning: row %d, \"?\" detected, flag set.\n", n);
    }
}

char part2(std::string& text)
{
    const std::size_t length = text.size();
    if (length == 0)
        return ' ';
    const char last = text[length - 1];
    std::size_t cut;
    if (!charclass::isdigit8(static_cast<unsigned char>(last)))
        cut = length - 1;
    else if (length >= 2 && text[length - 2] == '#')
        cut = length - 2;
    else
        return ' ';
    while (cut > 0 && text[cut - 1] == ' ')
        --cut;
    text.erase(cut);
    return last;
}

bool numeric(std::string_view text)
{
    for (char ch : text) {
        if (!charclass::isdigit8(static_cast<unsigned char>(ch)))
            return false;
    }
    return true;
}

void inits(std::string& text)
{
    const auto& t = charclass::tables;
    bool capital_next = true;  // the text starts as if after a blank
    char* const end = text.data() + text.size();
    for (char* p = text.data(); p != end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (capital_next) {
            if (c == '"' || c == '\'')
                continue;  // the capital still comes on the next character
            *p = static_cast<char>(t.upper[c]);
        } else {
            *p = static_cast<char>(t.lower[c]);
        }
        capital_next = starts_new_word(*p);
    }
}
