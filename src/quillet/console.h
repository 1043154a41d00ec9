// The editor's console: prompts and messages go to one stream (the standard
// error stream in the program), replies come from another as whole lines.
#pragma once

#include <cstdio>
#include <string>

namespace quillet {

struct Console {
    std::FILE* in = stdin;
    std::FILE* out = stderr;
};

// printf-style text to a stream: the console or the listing.
void write_text(std::FILE* to, const char* format, ...) __attribute__((format(printf, 2, 3)));

// One reply line, however long, without its line end (LF or CR LF). The end
// of input counts as an empty reply. A reply is a text, so it ends at a NUL.
std::string read_reply(std::FILE* in);

// Writes the prompt and reads the reply to it.
std::string ask(Console& console, const char* prompt);

// "Fatal: <what> <path> failed to open" and then the system's reason for the
// failure as perror gives it, with the prefix "Fatal".
void report_open_failure(Console& console, const char* what, const std::string& path);

}  // namespace quillet
