// The editor's command line: [-a|-i] [-h|-?] <data file>.
#pragma once

namespace quillet {

inline constexpr const char* version = "1.3.1";

struct Options {
    bool all = false;    // listing mode instead of the edit dialogue
    int file_index = 0;  // the data file name's place in argv; 0: none, or help
};

// The usage text, on the console.
void usage();

// Reads the switches up to the first argument that is not one (the data file
// name; anything after it is ignored). Only a switch's second character counts;
// an unknown one is named on the console.
Options options(int argc, char** argv);

}  // namespace quillet
