// The converter's run: set-up, the row loop and the summary.
#pragma once

namespace tabulon {

// Runs one conversion for the given command line (argv[0] is the program's
// own path) and returns the exit status. Never exits the process.
int convert(int argc, char** argv);

}  // namespace tabulon
