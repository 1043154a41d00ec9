// The findings report: one self-contained HTML page (inline style and script,
// nothing fetched) showing the piece as a spreadsheet with its findings on
// the cells.
//
// The page carries the piece as data, not as markup: one JSON array of rows
// (each one string: the row's number and its cells' texts) and one JSON object with the
// titles, the kinds and the findings; its script draws only the rows in view.
// So a page grows with the cells and the findings, and a large piece passes
// through the writer a row at a time.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "findings.h"
#include "listing_reader.h"
#include "run.h"
#include "sheet.h"

namespace tabreport {

struct Report {
    std::string piece_name;    // the piece's file name as given (Windows-1252)
    std::string listing_name;  // the listing's file name
    const tabulon::Run& run;
    const Sheet& sheet;
    const ListingSummary& listing;
    const Placement& placement;
    bool stale = false;        // the piece was changed after the listing was written
};

// Where the page goes: kept whole, or written to a file as it fills.
class PageOut {
public:
    PageOut() = default;
    explicit PageOut(std::FILE* file) : file_(file) {}

    void add(std::string_view text);
    // Writes what is held to the file; false when any write has failed.
    bool flush();
    // The page so far, when it goes to no file.
    const std::string& text() const { return held_; }

private:
    std::FILE* file_ = nullptr;
    std::string held_;
    bool failed_ = false;
};

// Writes a page as the piece streams through: begin() before the first row,
// row() for each row of the piece in order, end() after the last, when the
// report's titles are known and its placement closed. UTF-8 HTML. A listing
// that ended in a Fatal gives a page with that Fatal and nothing else.
class PageWriter {
public:
    PageWriter(const Report& report, PageOut& out) : r_(report), out_(out) {}

    void begin();
    void row(const SheetRow& row);
    void end();

private:
    const Report& r_;
    PageOut& out_;
    bool rows_started_ = false;
    bool fatal_ = false;
    std::string buffer_;
};

// The page of a piece read whole.
std::string html_page(const Report& report);

// A text as a JSON string for the page's data: the piece's Windows-1252 read
// as the page shows it, in UTF-8, with '"', '\\' and the control bytes
// escaped, and '<', '>' and '&' escaped too, so that no text can end the
// script element or start a comment. The five bytes Windows-1252 leaves
// undefined become the code points U+0081 and so on, which the page's script
// shows as their hex value.
void append_json_string(std::string& out, std::string_view cp1252);
// The same without the quotes around it.
void append_json_text(std::string& out, std::string_view cp1252);

}  // namespace tabreport
