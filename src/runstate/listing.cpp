#include "listing.h"

#include <cerrno>

#include "console_io.h"

void Listing::write(const std::string& text)
{
    if (err_ && std::fwrite(text.data(), 1, text.size(), err_) != text.size() && write_error_ == 0)
        write_error_ = errno != 0 ? errno : EIO;
}

void Listing::fatal(std::string_view listing_text, std::string_view console_text)
{
    write(std::string(listing_text));
    console_io::write(stderr, console_text);
}
