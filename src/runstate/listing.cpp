#include "listing.h"

#include <cerrno>

#include "console_io.h"

void Listing::write(const std::string& text)
{
    if (err_ && std::fwrite(text.data(), 1, text.size(), err_) != text.size() && write_error_ == 0)
        write_error_ = errno != 0 ? errno : EIO;
}

void Listing::write(const msg::Entry& entry, std::initializer_list<msgfmt_detail::Arg> args)
{
    const std::string text = msgfmt_detail::format(entry.text, args);
    write(text);
    switch (entry.severity) {
    case msg::Severity::error:
        ++nerr_;
        break;
    case msg::Severity::warning:
        ++nwarn_;
        break;
    case msg::Severity::fatal:
        console_io::write(stderr, entry.console == entry.text ? std::string_view(text) : entry.console);
        break;
    case msg::Severity::info:
    case msg::Severity::plain:
        break;
    }
}
