#include "paths.h"

#include "platform.h"

namespace paths {

PathParts splitpath(const std::string& path)
{
    PathParts parts;
    std::string name = path;
    const auto sep = path.rfind(platform::dir_separator);
    if (sep != std::string::npos) {
        // A file in the root keeps the root as its directory.
        parts.dir = path.substr(0, sep == 0 ? 1 : sep);
        name = path.substr(sep + 1);
    }
    const auto dot = name.find('.');
    if (dot != std::string::npos) {
        parts.ext = name.substr(dot + 1);
        name.resize(dot);
    }
    parts.base = name;
    return parts;
}

std::string makepath(const std::string& dir, const std::string& base, const std::string& ext)
{
    std::string path;
    if (!dir.empty()) {
        path = dir;
        if (path.back() != platform::dir_separator)
            path += platform::dir_separator;
    }
    path += base;
    path += '.';
    path += ext;
    return path;
}

}  // namespace paths
