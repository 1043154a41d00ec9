#include "normalise.h"

#include "charclass.h"
#include "listing.h"

namespace {

// Step one of both modes: true when a trailing question mark was stripped.
template <class Text>
bool strip_trailing_query(Text& text)
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

template <class Text>
void noquery_plain(Text& text, int n, Listing& listing)
{
    if (strip_trailing_query(text))
        listing.warning("Warning: row %d, trailing \"?\" removed.\n", n);
}

template <class Text>
void noquery_flag(Text& text, Text& flag, int n, Listing& listing)
{
    if (strip_trailing_query(text)) {
        flag = "x";
        listing.warning("Warning: row %d, trailing \"?\" removed and flag set.\n", n);
    }
    if ((flag.empty() || flag[0] != 'x') && text.find('?') != Text::npos) {
        flag = "x";
        listing.warning("Warning: row %d, \"?\" detected, flag set.\n", n);
    }
}

template <class Text>
char part2_of(Text& text)
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
    text.resize(cut);
    return last;
}

template <class Text>
void inits_of(Text& text)
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

}  // namespace

bool numeric(std::string_view text)
{
    for (char ch : text) {
        if (!charclass::isdigit8(static_cast<unsigned char>(ch)))
            return false;
    }
    return true;
}


void noquery(std::string& text, int n, Listing& listing) { noquery_plain(text, n, listing); }
void noquery(text::Field& text, int n, Listing& listing) { noquery_plain(text, n, listing); }
void noquery(std::string& text, std::string& flag, int n, Listing& listing) { noquery_flag(text, flag, n, listing); }
void noquery(text::Field& text, text::Field& flag, int n, Listing& listing) { noquery_flag(text, flag, n, listing); }
char part2(std::string& text) { return part2_of(text); }
char part2(text::Field& text) { return part2_of(text); }
void inits(std::string& text) { inits_of(text); }
void inits(text::Field& text) { inits_of(text); }
