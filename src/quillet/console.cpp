#include "console.h"

#include <cerrno>

namespace quillet {

void TextOut::write(const std::string& text)
{
    if (failed())
        return;
    errno = 0;
    // A buffered stream fails when it passes its buffer on; the error flag
    // keeps a failure that the count did not show.
    if (!console_io::write(stream, text) || std::ferror(stream))
        error = errno != 0 ? errno : EIO;
}

std::string read_reply(std::FILE* in)
{
    std::string line;
    console_io::read_line(in, line);  // the end of input leaves it empty
    const auto nul = line.find('\0');
    if (nul != std::string::npos)
        line.resize(nul);
    return line;
}

std::string ask(const Replies& replies, format_string<> prompt)
{
    console(prompt);
    std::fflush(stderr);
    return read_reply(replies.in);
}

}  // namespace quillet
