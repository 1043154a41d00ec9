#include "console.h"

#include <cerrno>
#include <cstdarg>

#include "platform.h"

namespace quillet {

void write_text(std::FILE* to, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::vfprintf(to, format, args);
    va_end(args);
}

std::string read_reply(std::FILE* in)
{
    std::string line;
    for (int c = std::getc(in); c != EOF && c != '\n'; c = std::getc(in))
        line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const auto nul = line.find('\0');
    if (nul != std::string::npos)
        line.resize(nul);
    return line;
}

std::string ask(Console& console, const char* prompt)
{
    std::fputs(prompt, console.out);
    std::fflush(console.out);
    return read_reply(console.in);
}

void report_open_failure(Console& console, const char* what, const std::string& path)
{
    const int reason = errno;  // writing the first line must not lose it
    write_text(console.out, "Fatal: %s file %s failed to open\n", what, path.c_str());
    std::fflush(console.out);
    errno = reason;
    platform::report_system_error("Fatal");
}

}  // namespace quillet
