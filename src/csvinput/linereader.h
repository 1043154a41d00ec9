// Reads the physical lines of the input spreadsheet.
//
// The spreadsheet is opened in binary mode, so its line ends arrive as they
// are on disk: LF, CR LF, or a lone CR (old Mac-style saves). Each of them ends
// a line and arrives as one LF at the end of the line's text. A line longer
// than the caller's limit is not special: its first part is one line and the
// rest comes as the next.
//
// The reader drains the stream through a buffer of its own, so the stream must
// be read through this reader only, from its construction on.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

class LineReader {
public:
    // stream: open for reading ("rb"); not owned, not closed.
    explicit LineReader(std::FILE* stream);

    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Reads one line of at most size - 1 bytes into line (replacing its
    // content), its end turned into one LF that stays in the text. NUL bytes
    // are ordinary bytes. Returns false when the input ended before any byte
    // was read; line is then empty.
    bool fgetm(std::string& line, std::size_t size = 1024);

    // The stream's end-of-file indicator as a byte-by-byte reader would see
    // it: set once a read has met the end of the input, including the
    // one-byte look-ahead after a CR. Also set after a read error, so that a
    // loop that stops on end of file always stops.
    bool eof() const { return eof_; }

    // A read error happened; no further byte is delivered after it.
    bool failed() const { return failed_; }

    static constexpr std::size_t buffer_size = 64 * 1024;

private:
    // Makes at least one unread byte available; false at end of input (or
    // on a read error), which also sets the end-of-file indicator.
    bool fill();

    std::FILE* stream_;
    std::vector<char> buffer_;
    std::size_t next_ = 0;   // first unread byte in buffer_
    std::size_t end_ = 0;    // one past the last byte read into buffer_
    bool drained_ = false;   // the stream has nothing more to give
    bool eof_ = false;
    bool failed_ = false;
};
