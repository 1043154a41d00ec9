// For the unit tests: records built from their fields; a parameters file in
// memory whose reads, writes or positioning fail as a failing disk's do
// (glibc's fopencookie); replies from a text; the console captured.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "file_with.h"
#include "paramfile.h"

namespace quillet::test {

// A blank record with texts placed at their offsets.
inline Record record_with(const std::vector<std::pair<std::size_t, std::string>>& texts)
{
    Record record;
    record.fill(' ');
    for (const auto& [offset, text] : texts)
        std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(offset));
    return record;
}

inline std::string bytes(const Record& record)
{
    return std::string(record.begin(), record.end());
}

inline Record piece_record(const std::string& number, const std::string& counts = "000042000180")
{
    return record_with({{0, number}, {8, "Thornleigh"}, {28, "1341097"}, {38, counts}});
}

// A civil parish with the given update stamp at byte 34 ("" leaves it blank).
inline Record parish_record(const std::string& number, const std::string& name, const std::string& stamp)
{
    return record_with({{0, number}, {8, name}, {34, stamp}});
}

// Margery's file: the header record given (id MJB, name Margery), then piece
// 0412 with its parishes Mossgate (stamped) and Crookfold.
inline std::string margery_file(const Record& header = record_with({{0, "MJB"}, {8, "Margery"}}))
{
    return bytes(header) + bytes(piece_record("0412")) + bytes(parish_record("0412", "Mossgate", "*MJB 14Mar2024")) +
           bytes(parish_record("0412", "Crookfold", ""));
}

struct Disk {
    std::string bytes;  // the file
    // Reads fail (EIO) from this offset on; the bytes before it come whole.
    std::size_t readable = std::numeric_limits<std::size_t>::max();
    bool writes_fail = false;  // every write fails (EIO)
    // Positioning beyond this offset fails (EINVAL).
    off64_t seekable = std::numeric_limits<off64_t>::max();
    off64_t last_seek = -1;  // the offset last asked for
    bool closed = false;
    std::size_t position = 0;
};

inline ssize_t disk_read(void* cookie, char* buffer, std::size_t size)
{
    Disk& disk = *static_cast<Disk*>(cookie);
    if (disk.position >= disk.readable) {
        errno = EIO;
        return -1;
    }
    if (disk.position >= disk.bytes.size())
        return 0;
    const std::size_t count = std::min({size, disk.bytes.size() - disk.position, disk.readable - disk.position});
    std::memcpy(buffer, disk.bytes.data() + disk.position, count);
    disk.position += count;
    return static_cast<ssize_t>(count);
}

inline ssize_t disk_write(void* cookie, const char* buffer, std::size_t size)
{
    Disk& disk = *static_cast<Disk*>(cookie);
    if (disk.writes_fail) {
        errno = EIO;
        return 0;  // how a cookie write reports failure
    }
    if (disk.position + size > disk.bytes.size())
        disk.bytes.resize(disk.position + size, '\0');
    disk.bytes.replace(disk.position, size, buffer, size);
    disk.position += size;
    return static_cast<ssize_t>(size);
}

inline int disk_seek(void* cookie, off64_t* offset, int whence)
{
    Disk& disk = *static_cast<Disk*>(cookie);
    const off64_t base = whence == SEEK_SET   ? 0
                         : whence == SEEK_CUR ? static_cast<off64_t>(disk.position)
                                              : static_cast<off64_t>(disk.bytes.size());
    const off64_t target = base + *offset;
    disk.last_seek = target;
    if (target < 0 || target > disk.seekable) {
        errno = EINVAL;
        return -1;
    }
    disk.position = static_cast<std::size_t>(target);
    *offset = target;
    return 0;
}

inline int disk_close(void* cookie)
{
    static_cast<Disk*>(cookie)->closed = true;
    return 0;
}

// A read-write stream over disk, which must outlive it.
inline File open_disk(Disk& disk)
{
    return File(fopencookie(&disk, "rb+", {disk_read, disk_write, disk_seek, disk_close}));
}

// While alive, the console (the standard error stream) writes into a file.
class ConsoleCapture {
public:
    ConsoleCapture() : file_(std::tmpfile()), saved_(stderr)
    {
        std::fflush(stderr);
        if (file_)
            stderr = file_.get();
    }
    ~ConsoleCapture() { restore(); }
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

    // Everything written; the console is the real one again afterwards.
    std::string text()
    {
        restore();
        if (!file_)
            return "(no capture)";
        std::string all;
        std::rewind(file_.get());
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file_.get())) > 0;)
            all.append(buffer, got);
        return all;
    }

private:
    void restore()
    {
        if (stderr != saved_) {
            std::fflush(stderr);
            stderr = saved_;
        }
    }

    File file_;
    std::FILE* saved_;
};

}  // namespace quillet::test
