// The report program's run: switches, the files beside the piece, and the
// exit status.
#pragma once

namespace tabreport {

// Runs one report for the command line (argv[0] is the program's own path);
// returns the exit status.
int report(int argc, char** argv);

}  // namespace tabreport
