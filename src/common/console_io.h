// Reading what is typed at the console (or redirected into it).
#pragma once

#include <cstdio>
#include <string>

namespace console_io {

// Reads one line from in, however long, up to its line feed, which is not
// kept; one carriage return before it is dropped too (a line typed at a
// Windows console, or saved by a Windows editor, ends in CR LF). Returns false
// when the input ended before any byte was read.
bool read_line(std::FILE* in, std::string& line);

}  // namespace console_io
