// The editor's console: prompts and messages go to the standard error stream,
// replies come as whole lines from the standard input (or, in tests, from
// another stream).
#pragma once

#include <cstdio>
#include <string>

namespace quillet {

struct Console {
    std::FILE* in = stdin;  // where replies come from
};

// A stream that texts are written to (the console, or the listing) and the
// first write to it that failed: after that nothing more is written to it.
struct TextOut {
    std::FILE* stream = stderr;
    int error = 0;  // the errno of the first failed write; 0 while all went through
    bool failed() const { return error != 0; }
};

// printf-style text to the console.
void say(const char* format, ...) __attribute__((format(printf, 1, 2)));

// printf-style text to a stream, each write checked.
void write_text(TextOut& to, const char* format, ...) __attribute__((format(printf, 2, 3)));

// One reply line, however long, without its line end (LF or CR LF). The end
// of input counts as an empty reply. A reply is a text, so it ends at a NUL.
std::string read_reply(std::FILE* in);

// Writes the prompt and reads the reply to it.
std::string ask(const Console& console, const char* prompt);

// "Fatal: <what> file <path> <failure>" and then the system's description of
// reason (an errno value taken when the failure happened) as perror gives it,
// with the prefix "Fatal".
void report_file_failure(const char* what, const std::string& path, const char* failure, int reason);

}  // namespace quillet
