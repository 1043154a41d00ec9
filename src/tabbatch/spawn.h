// Child processes of the batch converter: started in a folder of their own with
// no console input or output (what they write to the standard error is kept for
// the caller), and waited for in whatever order they end.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace spawn {

// How a child ended.
struct Ended {
    std::size_t tag = 0;  // what the caller gave start()
    bool exited = false;  // ended by exit (else killed, or crashed)
    int status = 0;       // its exit status when exited
    std::string errors;   // what it wrote to its standard error, when that could be kept
};

class Children {
public:
    Children();
    ~Children();
    Children(const Children&) = delete;
    Children& operator=(const Children&) = delete;

    // Starts program with args (argv[0] is the program's path) in dir; its
    // standard input and output are the null device, its standard error a
    // temporary file (the null device when none can be made). False when it
    // could not be started.
    // Arguments are paths so that they keep the system's own characters.
    bool start(const std::filesystem::path& program, const std::vector<std::filesystem::path>& args,
               const std::filesystem::path& dir, std::size_t tag);

    // Children started and not yet waited for.
    std::size_t running() const;

    // Waits until one of the running children ends.
    Ended wait_any();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The number of processors online (at least 1).
unsigned processors();

}  // namespace spawn
