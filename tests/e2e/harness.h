// The end-to-end harness: runs the built programs as separate processes, either
// the Linux programs directly or the Windows programs under Wine, and gives the
// tests what differs between the two in one place (see HARNESS.md).
#pragma once

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct Result {
    int status;       // the exit status; -N when killed by signal N; -1 when it could not be run
    std::string out;  // everything written to the standard output, byte for byte
    std::string err;  // everything written to the standard error
};

// The programs under test and the platform they were built for, read once from
// the environment:
//   E2E_BIN_DIR     directory holding tabulon, quillet and twrapper_echo (with
//                   ".exe" under Wine); unset: the programs of this build tree
//   E2E_WINE        the wine64 binary; set: the programs are Windows programs
//   E2E_WINEPREFIX  the Wine prefix to use; unset: one is made and initialised
//                   under /tmp for this test process and removed at its end
struct Target {
    bool windows = false;
    char sep = '/';             // the directory separator the programs use
    std::string newline = "\n"; // the line end of text-mode output
    std::string exe_suffix;     // "" or ".exe"
    std::string bin_dir;        // E2E_BIN_DIR, or empty
    std::string wine;           // E2E_WINE, or empty
    std::string wineprefix;     // the prefix in use under Wine

    static const Target& get();

    // The path as the program under test sees it: unchanged on Linux; under Wine
    // an absolute path becomes Z:\... and every '/' a backslash.
    std::string native(const std::filesystem::path& path) const;

    // The host path of a program by name ("tabulon", "quillet", "twrapper_echo").
    std::string program(const std::string& name) const;

    // Text with every "\n" turned into this platform's line end.
    std::string text(const std::string& lf_text) const;
};

// One run of a program, with every detail open to the caller.
struct Invocation {
    // A program name known to Target::program, or a host path to an executable
    // (anything holding a '/'), for example a copy staged in a TempDir.
    std::string program;
    std::vector<std::string> args;      // argv[1] onwards
    std::optional<std::string> argv0;   // argv[0]; default: the program's path
    bool no_argv = false;               // run with argc == 0 (Linux only)
    std::string stdin_text;             // written to the standard input, then closed
    std::filesystem::path cwd;          // empty: the test's own working directory
    std::chrono::seconds timeout{20};   // killed and reported as a failure past this
    long long file_size_limit = 0;      // > 0: the largest file the program may write (SIGXFSZ ignored)
};

Result run(const Invocation& invocation);

Result run(const std::string& program, const std::vector<std::string>& args,
           const std::string& stdin_text = "", const std::filesystem::path& cwd = {});

// A program started in the background: stdin_text is written to its standard
// input, which then stays open until finish(); its output is gathered in
// files; it can be signalled meanwhile. Killed at destruction if still running.
class Started {
public:
    explicit Started(const Invocation& invocation);
    ~Started();
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    bool running();
    void signal(int signal_number);
    // What it has written to its standard error so far.
    std::string err_so_far() const;
    // Waits until its standard error holds text; false when its end or the
    // timeout came first.
    bool wait_for(const std::string& text, std::chrono::seconds timeout = std::chrono::seconds(10));
    // Closes its standard input and waits for its end (killed past the
    // invocation's timeout, which fails the test).
    Result finish();

private:
    std::string program_;
    std::chrono::seconds timeout_;
    int pid_ = -1;
    int input_ = -1;
    std::filesystem::path out_, err_;
    bool ended_ = false;
    int wait_status_ = 0;
};

// A fresh directory (under /tmp unless told otherwise), removed with everything
// in it on destruction.
class TempDir {
public:
    explicit TempDir(const std::filesystem::path& parent = "/tmp");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string read_file(const std::filesystem::path& path);  // binary; "" when missing
void write_file(const std::filesystem::path& path, const std::string& bytes);  // binary
bool exists(const std::filesystem::path& path);

// Replaces the date in the listing's header line ("Error listing for tabulon
// (Merrowby) v4.11.2 <date> converting <path>") with "<DATE>", so that listings
// can be compared with expected texts. The date text may be empty.
std::string mask_date(std::string listing);

// The lines, each ended by Target::newline.
std::string lines(std::initializer_list<std::string> text_lines);

// The first line of a program's error stream that Wine wrote itself (it could
// not start the program, or lost its wine server), or "" when there is none.
// run() reports such a run as Wine's failure, beside the test's own checks.
std::string wine_complaint(const std::string& err);

// Copies a program (by name) into dir and returns the copy's host path, for
// tests that need the program in a directory of their own (its auxiliary files).
std::filesystem::path stage_program(const std::string& name, const std::filesystem::path& dir);

}  // namespace e2e
