// Taking a path apart and putting one together again.
//
// Only the platform's directory separator separates directories (the backslash
// on Windows, '/' elsewhere); the extension starts at the first dot of the file
// name, so a.b.csv has the base name a and the extension b.csv.
#pragma once

#include <string>

namespace paths {

struct PathParts {
    std::string dir;   // without its trailing separator; the root keeps its separator
    std::string base;
    std::string ext;
};

PathParts splitpath(const std::string& path);

// dir + separator + base + "." + ext; the dot is written even for an empty ext.
std::string makepath(const std::string& dir, const std::string& base, const std::string& ext);

}  // namespace paths
