// The piece as the converter reads it, cell by cell: the same row reader,
// field extractor, layouts and row numbers, keeping each cell's whole text
// for display and how many messages the reader wrote about it.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "columns.h"
#include "rowreader.h"
#include "run.h"

namespace tabreport {

struct Cell {
    std::string text;        // the cell as extracted, never cut short
    int cut_messages = 0;    // messages of the field extractor for this cell
    int query_messages = 0;  // question-mark messages for this cell
};

struct SheetRow {
    int n = 0;            // the row of the file
    bool header = false;  // one of the three header rows of the SS-CENS layout
    std::vector<Cell> cells;
};

struct Sheet {
    std::span<const rowchecks::Column> columns;  // the layout of the data rows
    std::vector<std::string> titles;         // one per column: row 2's, or the layout's names
    std::vector<SheetRow> rows;
    bool read_failed = false;
};

// Reads the rows one at a time as the converter does, the lines of a row
// whose cell holds a line break joined, so that a piece of any size passes
// through in little memory.
class SheetReader {
public:
    SheetReader(LineReader& lines, const tabulon::Run& run);

    // The next row; false at the end of the piece or when reading failed.
    bool next(SheetRow& row);
    bool failed() const { return failed_; }

    std::span<const rowchecks::Column> columns() const { return columns_; }
    // The column titles: row 2's where it has one, once row 2 has been read,
    // else the layout's names.
    std::vector<std::string> titles() const;

private:
    RowReader in_;
    std::span<const rowchecks::Column> columns_;
    int header_rows_;
    int n_ = 0;
    std::vector<std::string> row_2_;
    bool failed_ = false;
    std::string line_;
};

// The whole piece at once, for a small one.
Sheet read_sheet(LineReader& lines, const tabulon::Run& run);

}  // namespace tabreport
