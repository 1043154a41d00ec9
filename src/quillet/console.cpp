#include "console.h"

#include <cerrno>
#include <cstdarg>

#include "console_io.h"
#include "platform.h"

namespace quillet {

void say(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

void write_text(TextOut& to, const char* format, ...)
{
    if (to.failed())
        return;
    std::va_list args;
    va_start(args, format);
    errno = 0;
    const int written = std::vfprintf(to.stream, format, args);
    va_end(args);
    // A buffered stream fails when it passes its buffer on; the error flag
    // keeps a failure that the count did not show.
    if (written < 0 || std::ferror(to.stream))
        to.error = errno != 0 ? errno : EIO;
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

std::string ask(const Console& console, const char* prompt)
{
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    return read_reply(console.in);
}

void report_file_failure(const char* what, const std::string& path, const char* failure, int reason)
{
    say("Fatal: %s file %s %s\n", what, path.c_str(), failure);
    platform::report_system_error("Fatal", reason);
}

}  // namespace quillet
