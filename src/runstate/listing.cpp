#include "listing.h"

void Listing::write(const std::string& text)
{
    // Write failures on the listing are not fatal to the conversion.
    if (err_)
        std::fwrite(text.data(), 1, text.size(), err_);
}

void Listing::fatal(std::string_view listing_text, std::string_view console_text)
{
    write(std::string(listing_text));
    std::fwrite(console_text.data(), 1, console_text.size(), stderr);
}
