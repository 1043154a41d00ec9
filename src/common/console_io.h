// The console, and the one formatter for the text every program writes to it
// (or to a file): msgfmt, whose formats are checked when compiling.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "msgfmt.h"

namespace console_io {

// Reads one line from in, however long, up to its line feed, which is not
// kept; one carriage return before it is dropped too (a line typed at a
// Windows console, or saved by a Windows editor, ends in CR LF). Returns false
// when the input ended before any byte was read.
bool read_line(std::FILE* in, std::string& line);

// Writes text whole, NUL bytes included; false when not all of it went through.
bool write(std::FILE* stream, std::string_view text);

// text on the console, then the system's description of reason (an errno
// value taken when the failure happened) as perror gives it, with the prefix
// "Fatal".
void write_with_reason(std::string_view text, int reason);

}  // namespace console_io

// Formatted text to a stream; false when not all of it went through.
template <typename... Args>
bool print_to(std::FILE* stream, format_string<Args...> format, const Args&... args)
{
    return console_io::write(stream, msgfmt<Args...>(format, args...));
}

// Formatted text to the console: the standard error stream, where every
// program writes what it has to say (only the launcher writes to the standard
// output, and tabbatch its summary).
template <typename... Args>
void console(format_string<Args...> format, const Args&... args)
{
    console_io::write(stderr, msgfmt<Args...>(format, args...));
}

// A Fatal line on the console for a failure the system reported, followed by
// its description of reason (an errno value).
template <typename... Args>
void console_failure(int reason, format_string<Args...> format, const Args&... args)
{
    console_io::write_with_reason(msgfmt<Args...>(format, args...), reason);
}
