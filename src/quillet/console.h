// The editor's console: prompts and messages go to the standard error stream
// through the shared formatter (console()), replies come as whole lines from
// the standard input (or, in tests, from another stream).
#pragma once

#include <cstdio>
#include <string>

#include "console_io.h"

namespace quillet {

// Where the replies come from.
struct Replies {
    std::FILE* in = stdin;
};

// A stream that texts are written to (the console, or the listing) and the
// first write to it that failed: after that nothing more is written to it.
struct TextOut {
    std::FILE* stream = stderr;
    int error = 0;  // the errno of the first failed write; 0 while all went through
    bool failed() const { return error != 0; }
    void write(const std::string& text);
};

// Formatted text to a stream, each write checked.
template <typename... Args>
void write_text(TextOut& to, format_string<Args...> format, const Args&... args)
{
    to.write(msgfmt<Args...>(format, args...));
}

// One reply line, however long, without its line end (LF or CR LF). The end
// of input counts as an empty reply. A reply is a text, so it ends at a NUL.
std::string read_reply(std::FILE* in);

// Writes the prompt and reads the reply to it.
std::string ask(const Replies& replies, format_string<> prompt);

}  // namespace quillet
