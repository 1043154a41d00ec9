#include "scan.h"

#include <algorithm>
#include <map>
#include <optional>
#include <system_error>

#include "census.h"
#include "display.h"
#include "paths.h"
#include "platform.h"

namespace tabbatch {

namespace fs = std::filesystem;

namespace {

// Why the converter would refuse the file's name, or "" when it reads it. The
// name is taken apart as the converter takes apart what it is given.
std::string extension_refused(const fs::path& file)
{
    const paths::PathParts parts = paths::splitpath(platform::argument_text(file.filename()));
    if (tabulon::is_piece_extension(parts.ext))
        return "";
    const std::string name = printable(file.filename());
    return "the extension is " + name.substr(std::min(name.find('.'), name.size())) +
           ", and tabulon reads only .csv or .CSV";
}

bool is_missing(const std::error_code& error)
{
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

class Walk {
public:
    Scan scan;

    // The entries of one folder, read whole before any of them is looked at,
    // so that only one folder is open at a time however deep the tree.
    std::vector<fs::directory_entry> entries_of(const fs::path& folder)
    {
        std::vector<fs::directory_entry> entries;
        std::error_code error;
        fs::directory_iterator it(folder, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error))
            entries.push_back(*it);
        if (error)
            unreadable(folder, error);
        return entries;
    }

    // Takes the entry as a piece, a folder to search or a note.
    void look_at(const fs::directory_entry& entry, std::vector<fs::path>& folders)
    {
        const fs::path& path = entry.path();
        std::error_code error;
        fs::file_status kind = entry.symlink_status(error);
        if (error)
            return unreadable(path, error);
        if (fs::is_symlink(kind)) {
            kind = fs::status(path, error);
            if (is_missing(error))
                return skipped(path, "a link to something that is not there");
            if (error)
                return unreadable(path, error);
            if (fs::is_directory(kind))
                return skipped(path, "a link to a folder, not followed");
        }
        if (fs::is_directory(kind)) {
            folders.push_back(path);
            if (named_like_piece(path))
                skipped(path, "a folder, not a piece");
            return;
        }
        if (!named_like_piece(path))
            return;
        if (!fs::is_regular_file(kind))
            return skipped(path, "not an ordinary file");
        if (const std::string why = extension_refused(path); !why.empty())
            return skipped(path, why);
        scan.pieces.push_back(path);
    }

    void skipped(const fs::path& path, std::string why)
    {
        scan.notes.push_back(ScanNote{ScanNote::Kind::skipped, path, std::move(why)});
    }

private:
    void unreadable(const fs::path& path, const std::error_code& error)
    {
        scan.notes.push_back(ScanNote{ScanNote::Kind::unreadable, path, error.message()});
    }
};

}  // namespace

bool Scan::incomplete() const
{
    return std::any_of(notes.begin(), notes.end(),
                       [](const ScanNote& note) { return note.kind == ScanNote::Kind::unreadable; });
}

// Works on the system's own characters: a name need not be representable in
// the narrow character set.
bool named_like_piece(const fs::path& file)
{
    const fs::path::string_type ext = file.extension().native();
    const char wanted[] = ".csv";
    if (ext.size() != 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto c = ext[i];
        const auto lower = c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
        if (lower != static_cast<fs::path::value_type>(wanted[i]))
            return false;
    }
    return true;
}

Scan scan_tree(const fs::path& root)
{
    Walk walk;
    // Each folder is searched once, however many ways lead to it (a link or
    // a junction the system follows, a folder mounted inside itself): so no
    // piece is converted twice at once, and a loop ends.
    std::map<platform::FileId, fs::path> searched;
    std::vector<fs::path> folders{root};
    while (!folders.empty()) {
        const fs::path folder = std::move(folders.back());
        folders.pop_back();
        if (const std::optional<platform::FileId> id = platform::file_id(folder)) {
            const auto [first, is_first] = searched.emplace(*id, folder);
            if (!is_first) {
                walk.skipped(folder, "the same folder as " + shown_path(first->second, root) + ", searched there");
                continue;
            }
        }
        // In path order, so that the first way to a folder is the one searched.
        std::vector<fs::directory_entry> entries = walk.entries_of(folder);
        std::sort(entries.begin(), entries.end());
        std::vector<fs::path> below;
        for (const fs::directory_entry& entry : entries)
            walk.look_at(entry, below);
        folders.insert(folders.end(), below.rbegin(), below.rend());
    }
    std::sort(walk.scan.pieces.begin(), walk.scan.pieces.end());
    std::stable_sort(walk.scan.notes.begin(), walk.scan.notes.end(),
                     [](const ScanNote& a, const ScanNote& b) { return a.path < b.path; });
    return walk.scan;
}

}  // namespace tabbatch
