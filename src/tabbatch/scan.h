// Finding the pieces of a folder tree, and telling of everything passed over
// on the way that might have been a piece or held one.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tabbatch {

// Something the scan did not take as a piece, with the reason.
struct ScanNote {
    enum class Kind { skipped, unreadable };
    Kind kind = Kind::skipped;
    std::filesystem::path path;
    std::string why;  // "a folder, not a piece"; for an unreadable one the system's description
};

struct Scan {
    std::vector<std::filesystem::path> pieces;  // in path order
    std::vector<ScanNote> notes;                 // in path order

    // Could some folder or entry not be read? Pieces may then be missing.
    bool incomplete() const;
};

// Is the file named like a piece: does its name end in .csv in any case?
bool named_like_piece(const std::filesystem::path& file);

// Walks the tree below root. A piece is an ordinary file (or a link to one)
// whose extension is one the converter reads (from the name's first dot on,
// as the converter takes it apart). Links to folders are not followed, and a
// folder reached again by another way (a junction, a folder mounted inside
// itself) is not searched again, so no piece is reached twice. Noted: what is
// named like a piece but is not one (a folder, a link to nothing, a device, a
// name with another extension), a link to a folder or to nothing whatever its
// name, a folder reached again, and every folder or entry that could not be read.
Scan scan_tree(const std::filesystem::path& root);

}  // namespace tabbatch
