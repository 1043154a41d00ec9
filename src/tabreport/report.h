// The report program's run: switches, the files beside the piece, and the
// exit status.
#pragma once

namespace tabreport {

namespace exit_status {
inline constexpr int written = 0;        // the report is written
inline constexpr int no_arguments = 1;   // usage shown
inline constexpr int no_file_name = 2;   // no file name among the arguments, or help asked for
inline constexpr int stale = 4;          // written, but the piece was changed after the listing
inline constexpr int conversion_stopped = 8;  // written: the listing ends in a Fatal, and shows only that
inline constexpr int fatal = 12;         // no report
}  // namespace exit_status

// Runs one report for the command line (argv[0] is the program's own path).
int report(int argc, char** argv);

}  // namespace tabreport
