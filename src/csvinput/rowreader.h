// Reads the rows of the spreadsheet, a row being one physical line or, where
// a cell holds a line break, several.
//
// A spreadsheet saves a cell typed on several lines (Alt+Enter) inside double
// quotes with its line breaks in it. A line that ends inside a quoted part,
// by the quote rules of the field cutter, goes on with the next physical line,
// and so on while the quoted part stays open, up to most_lines lines. Each
// line break taken in becomes one blank. A spreadsheet writes every row with
// the same number of cells, so a joined row must have as many as the
// reference row: the titles row (row 2) in the SS-CENS layout, the first
// non-empty row taken whole from one line in the ALL layout; until that row
// has been read, the quote closing is enough. Otherwise (still open after
// most_lines lines or at the end of the input, or another number of cells)
// nothing is joined: the row is its first line alone, and the lines after it
// are read as rows again.
//
// Lines without a double quote, nearly all of them, are handed on as they are
// read.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "linereader.h"

// The quote rules of the field cutter over a row's text: a double quote opens
// a quoted part only as the first character of a cell after its blanks, a
// doubled quote inside stands for one, any other quote closes it.
struct QuoteScan {
    bool quoted = false;          // inside a quoted part
    bool cell_start = true;       // no character of the cell but blanks yet
    std::size_t commas = 0;       // commas outside quoted parts

    // Goes on over text (without line ends).
    void scan(std::string_view text);
    std::size_t cells() const { return commas + 1; }
};

class RowReader {
public:
    // Most physical lines in one row.
    static constexpr int most_lines = 10;

    enum class Layout { ss_cens, all };

    RowReader(LineReader& lines, Layout layout) : lines_(lines), layout_(layout) {}

    RowReader(const RowReader&) = delete;
    RowReader& operator=(const RowReader&) = delete;

    // As LineReader::fgetm, for the next row: the row's text, the end of its
    // last line as one LF (when it had one). False when the input ended
    // before any byte of a row.
    bool next(std::string& row);

    // The line breaks the last row took in (0: one physical line).
    int breaks() const { return breaks_; }

    // The reader's end-of-file and error indicators as they stood after the
    // last line of the row just read (lines read beyond it to look for the
    // end of a quoted part do not count).
    bool eof() const { return eof_; }
    bool failed() const { return failed_; }

private:
    struct Line {
        std::string text;
        bool eof = false;
        bool failed = false;
    };

    // The first line of the next row into row.
    bool first_line(std::string& row);
    // Line i after the row's first line (read when needed); null at the end
    // of the input or after a read error.
    const Line* line_after(std::size_t i);
    // Joins the lines that close the quoted part open at the end of row,
    // when they may be joined; false leaves row as it is.
    bool join(std::string& row, QuoteScan quotes);
    void note_reference(const std::string& row);

    LineReader& lines_;
    Layout layout_;
    std::deque<Line> ahead_;  // lines read past the row handed out
    std::string joined_;
    int rows_ = 0;            // rows handed out
    std::size_t reference_cells_ = 0;  // 0 until the reference row has been read
    int breaks_ = 0;
    bool eof_ = false;
    bool failed_ = false;
};
