#include "listing.h"

#include <cerrno>

void Listing::write(const std::string& text)
{
    if (err_ && std::fwrite(text.data(), 1, text.size(), err_) != text.size() && write_error_ == 0)
        write_error_ = errno != 0 ? errno : EIO;
}

void Listing::to_console(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stderr);
}
