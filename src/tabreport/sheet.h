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

// Reads the rows as the converter does, the lines of a row whose cell holds
// a line break joined.
Sheet read_sheet(LineReader& lines, const tabulon::Run& run);

}  // namespace tabreport
