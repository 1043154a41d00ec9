// What the four programs agree on: their exit statuses, and the converter's
// switch letters, which tabreport and tabbatch take as the converter does.
#pragma once

#include <string_view>

// Exit statuses: a meaning that programs share has one name, and each
// program's own statuses stand under its name.
namespace exit_status {

inline constexpr int no_arguments = 1;  // started without arguments: the usage text shown
inline constexpr int no_file_name = 2;  // no file name among the arguments, or help asked for
inline constexpr int fatal = 12;        // the run could not be done; the console says why

namespace tabulon {
inline constexpr int clean = 0;     // converted with no errors and no counted warnings
inline constexpr int warnings = 4;  // converted with warnings but no errors
inline constexpr int errors = 8;    // converted with at least one error
}  // namespace tabulon

// fatal: a file failed to open or to be written, or another program is
// editing the data file.
namespace quillet {
inline constexpr int done = 0;        // listing written, or the dialogue ended normally
inline constexpr int no_header = 16;  // the data file has no whole header record
inline constexpr int damaged = 20;    // edit mode met a short record
}  // namespace quillet

namespace tabreport {
inline constexpr int written = 0;             // the report is written
inline constexpr int stale = 4;               // written, but the piece was changed after its listing
inline constexpr int conversion_stopped = 8;  // written: the listing ends in a Fatal, and shows only that
}  // namespace tabreport

// no_file_name: no folder (arguments or none), help, a bad switch, or no piece
// in the folder; fatal: a piece not converted, or a folder that could not be read.
namespace tabbatch {
inline constexpr int clean = 0;   // every piece converted without errors (warnings allowed)
inline constexpr int errors = 8;  // every piece converted, some with errors
}  // namespace tabbatch

}  // namespace exit_status

// The converter's switches: '-' (on Windows also '/') and a letter in either
// case; only the letter counts, so -verbose is -v.
namespace switch_letter {

inline constexpr char all = 'a';        // the ALL layout
inline constexpr char brief = 'b';      // the SS-CENS layout (the default)
inline constexpr char checked = 'c';    // CHECK-CENS records of 276 bytes
inline constexpr char validated = 'd';  // VALD-REV records of 299 bytes
inline constexpr char quiet = 'q';
inline constexpr char verbose = 'v';
inline constexpr char rcheck = 'r';     // relationships looked up in the code file
inline constexpr char help = 'h';       // or '?', in every program

// The letter of a switch argument ('\0' for a bare '-').
constexpr char of(std::string_view arg) { return arg.size() > 1 ? arg[1] : '\0'; }

// The letter in lower case, so that -A and -a are one switch.
constexpr char folded(char letter) { return letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter; }

constexpr bool is_help(char letter) { return folded(letter) == help || letter == '?'; }

}  // namespace switch_letter
