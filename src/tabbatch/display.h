// Names and texts as the batch shows them: each on one line of the summary.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tabbatch {

// A path as UTF-8 text, whatever characters it holds.
std::string printable(const std::filesystem::path& path);

// A path found below root as the summary shows it: below the root, with the
// system's separators (the root itself as given).
std::string shown_path(const std::filesystem::path& path, const std::filesystem::path& root);

// text with every control character written out, so that it stays on one line
// and cannot move the cursor: line feed, carriage return and tab as \n, \r and
// \t, the others as \x and two hex digits of their code (also the control
// characters U+0080 to U+009F, given in UTF-8). Backslashes stay as they are:
// they separate the folders of a Windows path.
std::string one_line(std::string_view text);

}  // namespace tabbatch
