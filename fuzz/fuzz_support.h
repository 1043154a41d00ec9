// Helpers shared by the fuzz targets: property checks that stop the run with a
// readable reason, in-memory streams, and counting lines of a captured text.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace fuzz {

// A property that failed: prints what and where to the real standard error
// (not a captured one) and aborts, so libFuzzer keeps the input as a crash.
[[noreturn]] void property_failed(const char* file, int line, const char* what, const std::string& detail);

#define FUZZ_CHECK(condition, detail)                                             \
    do {                                                                          \
        if (!(condition))                                                         \
            ::fuzz::property_failed(__FILE__, __LINE__, #condition, (detail));    \
    } while (0)

// A write stream whose bytes end up in a string (open_memstream).
class MemoryStream {
public:
    MemoryStream();
    ~MemoryStream();
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    std::FILE* stream() const { return stream_; }
    // Everything written so far (flushes first).
    std::string text();
    // The same without a copy; valid until the next write.
    std::string_view view();

private:
    std::FILE* stream_ = nullptr;
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
};

// A read stream over the given bytes; empty input gives a stream at its end.
// Returns nullptr only when the system refuses.
std::FILE* open_bytes(std::string_view bytes);

// While alive, the standard error stream (the FILE*, not descriptor 2) writes
// into a string. Sanitizer reports go to descriptor 2 directly and stay
// visible; console text of the code under test is captured.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    std::string text() { return capture_.text(); }

private:
    MemoryStream capture_;
    std::FILE* saved_;
};

// Number of lines of text that start with prefix (the first line, and every
// line after a line feed).
int count_lines_starting(std::string_view text, std::string_view prefix);

// Printable rendering of arbitrary bytes for the failure reports.
std::string escaped(std::string_view bytes, std::size_t limit = 200);

std::string read_file(const std::string& path, bool& exists);
bool write_file(const std::string& path, std::string_view bytes);

}  // namespace fuzz
