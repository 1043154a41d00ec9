// Reads the physical lines of the input spreadsheet.
//
// The spreadsheet is opened in binary mode, so its line ends arrive as they
// are on disk: LF, CR LF, or a lone CR (old Mac-style saves). Each of them ends
// a line and arrives as one LF at the end of the line's text. A line is read
// whole, however long: one line is one row of the spreadsheet.
//
// The text is delivered in Windows-1252, whatever the spreadsheet saved:
//   - a byte-order mark names the encoding: EF BB BF UTF-8, FF FE or FE FF
//     UTF-16 (utf8.h, utf16.h); the mark is skipped and the rest converted;
//   - without a mark, the bytes pass as they are up to the first byte of 0x80
//     or above. When that byte begins a well-formed UTF-8 character, the
//     input is UTF-8 from there on (a save without the mark); otherwise it is
//     Windows-1252 to its end. The bytes before it are ASCII, the same in
//     both, so nothing is read twice.
//
// The reader drains the stream through buffers of its own, so the stream must
// be read through this reader only, from its construction on. Its memory is
// its buffers and the longest line.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

class LineReader {
public:
    static constexpr std::size_t default_buffer_size = 64 * 1024;
    static constexpr std::size_t min_buffer_size = 4;  // a UTF-8 sequence and one byte more

    // stream: open for reading ("rb"); not owned, not closed. buffer_size:
    // the bytes taken from the stream at a time (at least min_buffer_size).
    explicit LineReader(std::FILE* stream, std::size_t buffer_size = default_buffer_size);

    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Reads the next whole line into line (replacing its content), its end
    // turned into one LF that stays in the text. NUL bytes are ordinary bytes.
    // Returns false when the input ended before any byte was read; line is
    // then empty.
    bool fgetm(std::string& line);

    // The stream's end-of-file indicator as a byte-by-byte reader would see
    // it: set once a read has met the end of the input, including the
    // one-byte look-ahead after a CR. Also set after a read error, so that a
    // loop that stops on end of file always stops.
    bool eof() const { return eof_; }

    // A read error happened; no further byte is delivered after it.
    bool failed() const { return failed_; }

    enum class Encoding {
        ascii_so_far,  // no mark, and no byte of 0x80 or above yet
        windows_1252,
        utf8,
        utf16_low_first,
        utf16_high_first,
    };

    // The input's encoding as far as it is known.
    Encoding encoding() const { return encoding_; }

private:
    // Makes at least one unread byte available; false at end of input (or
    // on a read error), which also sets the end-of-file indicator.
    bool fill();
    // The first read, which looks for a byte-order mark; returns the bytes it
    // made available.
    std::size_t first_read();
    // Bytes read straight into buffer_ while the input may still be
    // Windows-1252: those from the first byte of 0x80 or above on go through
    // convert. Returns the bytes made available.
    std::size_t take_as_read(std::size_t bytes);
    // Converts the bytes waiting in raw_ into buffer_ from out_at on; a
    // character cut by the end of what was read stays at the start of raw_.
    std::size_t convert(std::size_t raw_bytes, std::size_t out_at);
    // Settles the encoding of an input without a mark at its first byte of
    // 0x80 or above (the first of raw_); false while the character it starts
    // is cut by the end of what was read.
    bool decide(std::size_t raw_bytes);
    // Reads up to size bytes; a short read marks the stream drained.
    std::size_t read(char* into, std::size_t size);

    std::FILE* stream_;
    std::vector<char> buffer_;  // the text lines are taken from
    std::vector<char> raw_;     // input as read, before its conversion
    std::size_t carried_ = 0;   // bytes of a cut character at the start of raw_
    std::size_t next_ = 0;      // first unread byte in buffer_
    std::size_t end_ = 0;       // one past the last byte in buffer_
    bool started_ = false;      // the first read has been made
    Encoding encoding_ = Encoding::ascii_so_far;
    bool drained_ = false;      // the stream has nothing more to give
    bool eof_ = false;
    bool failed_ = false;
};
