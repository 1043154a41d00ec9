// The console launcher shared by both programs.
//
// The launcher's main() is the process entry. Started with arguments it hands
// them straight to the program's own entry _main(); started without any it asks
// for a command line, cuts it into words, calls _main(), and waits for RETURN.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Each program supplies its own entry; its result is the exit status. It
// stands in a namespace: a name that begins with an underscore is reserved
// at global scope.
namespace program {
int _main(int argc, char** argv);
}

namespace twrapper {

// Cuts a command line into words: blanks and tabs separate words; a word that
// begins with a single or double quote runs to the next quote of the same kind;
// a backslash standing alone as the line's last character continues the line
// with the next line that continue_line supplies (false: the input has ended).
template <typename ContinueLine>
std::vector<std::string> cut_words(std::string line, ContinueLine continue_line);

// The launcher itself, over given streams; main() calls it with the standard ones.
int run(int argc, char** argv, std::FILE* in, std::FILE* out);

}  // namespace twrapper

#include "twrapper_cut.inl"
