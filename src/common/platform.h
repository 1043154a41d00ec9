// The platform layer: everything that differs between the POSIX and Windows builds.
#pragma once

#include <cstdint>
#include <cstdio>
#include <compare>
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

#ifdef _WIN32
inline constexpr char dir_separator = '\\';
#else
inline constexpr char dir_separator = '/';
#endif

// Does this argument start a switch? '-' everywhere; '/' as well on Windows,
// where it cannot begin an absolute path.
bool is_switch(const std::string& arg);

// The current time in UTC as asctime writes it, with a blank-padded day and
// without the line feed, followed by " UTC"; empty when the time is unknown.
std::string utc_date_text();

// Today's local date as "%d%b%Y" with English month names (06Dec2026).
std::string local_date_dmy();

// The full path of the running program's file as the system reports it (on
// Linux the target of /proc/self/exe, on Windows the module's own file name);
// empty when the system cannot tell.
std::string running_program_path();

// A path as our programs see it when it is given to them on the command line:
// on POSIX its own bytes; on Windows converted to the ANSI code page, as the C
// runtime converts the command line into the argument vector.
std::string argument_text(const std::filesystem::path& path);

// What tells a file or folder from every other on the machine, whatever path
// it is reached by: its device (volume) and its number on it.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t number = 0;
    auto operator<=>(const FileId&) const = default;
};

// The FileId of what path names (links followed); nothing when it cannot be told.
std::optional<FileId> file_id(const std::filesystem::path& path);

// Opens the file that path names for reading in binary mode ("rb"), whatever
// characters its name holds (on Windows through the wide-character name).
// nullptr, with errno telling why, when it cannot be opened.
std::FILE* open_for_reading(const std::filesystem::path& path);

// Is the open stream a directory? (Opening one for reading succeeds on POSIX.)
bool is_directory(std::FILE* stream);

// The description of the last system error, as perror prints it: "prefix: reason\n",
// written to the standard error stream.
void report_system_error(const char* prefix);
// The same for a system error whose errno value was taken when it happened,
// for callers that write something of their own before the description.
void report_system_error(const char* prefix, int reason);

// Positions stream at offset bytes from its start, with a 64-bit offset on
// every system (long, fseek's offset, has 32 bits on Windows). False on
// failure, with errno telling why.
bool seek(std::FILE* stream, std::int64_t offset);

// How an attempt to lock a file for editing ended.
enum class EditLock {
    taken,        // this program holds it until unlock_for_editing or the file's close
    held,         // another program holds it
    unsupported,  // the file system cannot lock this file
};

// Takes, without waiting, the lock that only one program at a time can hold
// on a file open for update; it goes with the program, however that ends.
// Nobody's reads or writes of the file are blocked by it, so a program that
// only reads the file (or takes no lock) never notices it.
EditLock lock_for_editing(std::FILE* stream);

// Gives the lock up, before the file is closed.
void unlock_for_editing(std::FILE* stream);

}  // namespace platform
