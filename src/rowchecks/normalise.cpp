#include "normalise.h"

#include <cstdint>

#include "charclass.h"
#include "listing.h"
#include "simd16.h"

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

constexpr bool starts_new_word(char previous)
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
        listing.report(msg::trailing_query_removed, n);
}

template <class Text>
void noquery_flag(Text& text, Text& flag, int n, Listing& listing)
{
    if (strip_trailing_query(text)) {
        flag = "x";
        listing.report(msg::trailing_query_flagged, n);
    }
    if ((flag.empty() || flag[0] != 'x') && text.find('?') != Text::npos) {
        flag = "x";
        listing.report(msg::query_flagged, n);
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

// Name-style capitals as two tables indexed by whether a capital comes next
// and the character: what the character becomes, and whether a capital
// comes after it. No branch depends on the text.
struct InitsTables {
    unsigned char becomes[2][256];
    bool capital_after[2][256];
};

constexpr InitsTables inits_tables = [] {
    InitsTables t{};
    for (int i = 0; i < 256; ++i) {
        const auto c = static_cast<unsigned char>(i);
        const bool quote = c == '"' || c == '\'';
        t.becomes[0][i] = charclass::tolower8(c);
        t.capital_after[0][i] = starts_new_word(static_cast<char>(charclass::tolower8(c)));
        // A quote or apostrophe where a capital is due is passed over: the
        // capital still comes on the next character.
        t.becomes[1][i] = quote ? c : charclass::toupper8(c);
        t.capital_after[1][i] = quote || starts_new_word(static_cast<char>(charclass::toupper8(c)));
    }
    return t;
}();

template <class Text>
void inits_of(Text& text)
{
    int capital_next = 1;  // the text starts as if after a blank
    char* const end = text.data() + text.size();
    for (char* p = text.data(); p != end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        *p = static_cast<char>(inits_tables.becomes[capital_next][c]);
        capital_next = inits_tables.capital_after[capital_next][c];
    }
}

#if MERROWBY_SIMD16
// The same for a field, sixteen characters at a time, when it holds no quote
// or apostrophe: a capital is due at the start and after each separator, and
// every letter is put in the case due. The blanks past the field's end stay
// blanks. False (the field untouched) for a text this does not take.
bool inits_blocks(text::Field& text)
{
    const std::size_t size = text.size();
    if (size > 48)
        return false;
    const std::size_t blocks = size <= 16 ? 1 : size <= 32 ? 2 : 3;
    using namespace simd16;
    const auto block = [&](std::size_t b) { return load(text.data() + 16 * b); };
    Block quotes = nothing();
    for (std::size_t b = 0; b < blocks; ++b)
        quotes = either(quotes, either(equal(block(b), '"'), equal(block(b), '\'')));
    if (any(quotes))
        return false;

    const Block case_bit = repeat(0x20);
    Block due = first_byte();  // a capital at the start
    for (std::size_t b = 0; b < blocks; ++b) {
        const Block c = block(b);
        const Block separator = either(either(equal(c, ' '), equal(c, '(')), in_range(c, ',', '.'));  // , - .
        const Block capital = either(due, one_later(separator));
        due = last_to_first(separator);
        // Letters in lower case, then in the case due.
        const Block letter = charclass::blocks::cased_letter(c);
        const Block cased = toggle(either(c, case_bit), both(capital, case_bit));
        store(text.data() + 16 * b, select(letter, cased, c));
    }
    return true;
}
#else
bool inits_blocks(text::Field&) { return false; }
#endif

}  // namespace

bool numeric(std::string_view text)
{
    return charclass::all_digits(text);
}


void noquery(std::string& text, int n, Listing& listing) { noquery_plain(text, n, listing); }
void noquery(text::Field& text, int n, Listing& listing) { noquery_plain(text, n, listing); }
void noquery(std::string& text, std::string& flag, int n, Listing& listing) { noquery_flag(text, flag, n, listing); }
void noquery(text::Field& text, text::Field& flag, int n, Listing& listing) { noquery_flag(text, flag, n, listing); }
char part2(std::string& text) { return part2_of(text); }
char part2(text::Field& text) { return part2_of(text); }
void inits(std::string& text) { inits_of(text); }
void inits(text::Field& text)
{
    if (!inits_blocks(text))
        inits_of(text);
}
