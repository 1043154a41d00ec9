// Records of a parameters file for the editor's end-to-end tests: 64 bytes
// each, texts cut or blank-filled to their fields' widths.
//
//   header   id (0-3), spare (4-7), name (8-63)
//   piece    number (0-3), district (8-27), film (28-35), household count
//            (38-43), record count (44-49)
//   parish   number (0-3), name (8-27), update stamp (34-60): mark, by
//            (35-38), on (39-47), the rest (48-60)
#pragma once

#include <cstddef>
#include <string>

namespace paramfile {

inline std::string field(const std::string& text, std::size_t width)
{
    std::string padded = text.substr(0, width);
    padded.resize(width, ' ');
    return padded;
}

inline std::string header(const std::string& id, const std::string& name, const std::string& spare = "0001")
{
    return field(id, 4) + field(spare, 4) + field(name, 56);
}

// The counts as the six bytes each that the file holds.
inline std::string piece(const std::string& number, const std::string& district, const std::string& film,
                         const std::string& households, const std::string& records)
{
    return field(number, 4) + field("", 4) + field(district, 20) + field(film, 8) + "  " + households + records +
           field("PIECE-SPARE", 14);
}

// A civil parish whose stamp (bytes 34-60, 27 bytes) is given whole.
inline std::string parish(const std::string& number, const std::string& name, const std::string& stamp)
{
    return field(number, 4) + field("", 4) + field(name, 20) + field("", 6) + stamp + "end";
}

inline std::string stamped(const std::string& number, const std::string& name, char mark, const std::string& by,
                           const std::string& on)
{
    return parish(number, name, mark + field(by, 4) + on + field("stamp rest", 13));
}

// Never stamped: the stamp all NULs, as a clear leaves it.
inline std::string unstamped(const std::string& number, const std::string& name)
{
    return parish(number, name, std::string(27, '\0'));
}

// Not updated, with bytes 48-60 holding something a new stamp must keep.
inline std::string blank_marked(const std::string& number, const std::string& name)
{
    return parish(number, name, " " + std::string(13, ' ') + "kept bytes 13");
}

// Byte offset of a field of record i.
constexpr std::size_t at(std::size_t record, std::size_t offset)
{
    return 64 * record + offset;
}

// bytes with replacement written over it from offset on.
inline std::string with(std::string bytes, std::size_t offset, const std::string& replacement)
{
    return bytes.replace(offset, replacement.size(), replacement);
}

}  // namespace paramfile
