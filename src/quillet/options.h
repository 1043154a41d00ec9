// The editor's command line: [-a|-i] [-h|-?] <data file>.
#pragma once

#include <cstdio>

namespace quillet {

inline constexpr const char* version = "1.3.1";

struct Options {
    bool all = false;    // listing mode instead of the edit dialogue
    int file_index = 0;  // the data file name's place in argv; 0: none, or help
};

void usage(std::FILE* console);

// Reads the switches up to the first argument that is not one (the data file
// name; anything after it is ignored). Only a switch's second character counts.
Options options(int argc, char** argv, std::FILE* console);

}  // namespace quillet
