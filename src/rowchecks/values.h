// How the row checks read their texts: a number is the decimal value at the
// start of a text (0 when there is none), suffixes are tested as ASCII, and
// names are tested for unusual characters.
#pragma once

#include <string>
#include <string_view>

#include "charclass.h"
#include "field.h"
#include "listing.h"
#include "normalise.h"
#include "text.h"

namespace rowchecks {

inline long long value(std::string_view text) { return text::leading_value(text); }
inline long long value(const text::Field& text) { return text::leading_value(text); }

// Not empty, and digits only.
inline bool is_number(const text::Field& text) { return !text.empty() && numeric(text); }

// Names (places, people, relationship, disability) are letters and the usual
// punctuation; anything else in the text as typed draws the field's warning.
inline bool name_text(const text::Field& text)
{
    const std::size_t size = text.size();
    if (size > 48)
        return charclass::alphabetic(text);
    return charclass::alphabetic_blocks(text.data(), size <= 16 ? 1 : size <= 32 ? 2 : 3);
}

inline void warn_unusual(Listing& listing, msg::message<int, std::string_view> message, int n,
                         const text::Field& text)
{
    if (listing.warnings_on() && !name_text(text))
        listing.report(message, n, std::string_view(text));
}

}  // namespace rowchecks
