// Files a program writes for the user, made whole or not at all.
//
// A NewFile is written under an unfinished name beside its final one
// ("RG110123.erc.unfinished-4711") and moved over the final name only when it
// is complete and closed, so a run that stops part-way (a kill, a power cut, a
// full disk) leaves the earlier file exactly as it was. Ctrl-C, SIGTERM,
// SIGHUP, SIGQUIT and, on Windows, the console's close events remove the
// unfinished files before the program ends as the signal would end it; a
// SIGKILL or a power cut leaves an unfinished file, whose name never ends in
// .csv, .erc or a data file's extension, so no program of ours reads it.
//
// A final name that is a device or a pipe (/dev/null, a FIFO) has no earlier
// contents to protect and cannot be replaced: it is written directly.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>

#include "file.h"

namespace newfile_detail {
struct Pending;  // an unfinished name, as the interrupt handler sees it
}

class NewFile {
public:
    enum class Mode { text, binary };

    NewFile();
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Starts the file that will become final_path. False, with errno telling
    // why, when the final name could not be written as opening it for writing
    // would fail (a file we may only read, a folder of that name, no such
    // folder), or when the unfinished file cannot be made beside it.
    bool open(const std::string& final_path, Mode mode);

    // The stream to write to; nullptr unless open.
    std::FILE* get() const { return stream_.get(); }
    const std::string& final_path() const { return final_path_; }

    // Flushes and closes the stream. False, with errno telling why, when
    // anything written did not reach the file. The file is kept for install().
    bool close();

    // Removes the unfinished file (closing it first).
    void discard();

    // Moves the closed files over their final names, in the order given, with
    // interrupts held off until all of them are in place. Returns nullptr when
    // all are in place, else the first file that could not be moved (errno
    // tells why); the files after it are discarded.
    static const NewFile* install(std::initializer_list<NewFile*> files);

private:
    bool move_into_place();

    std::string final_path_;
    File stream_;
    std::unique_ptr<newfile_detail::Pending> pending_;  // null once installed or discarded, and for direct files
    bool closed_ = false;
};
