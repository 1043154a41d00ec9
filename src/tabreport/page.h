// The findings report: one self-contained HTML page (inline style and a
// little script, nothing fetched) showing the piece as a spreadsheet with its
// findings on the cells; and the same findings as tab-separated lines.
#pragma once

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

// UTF-8 HTML. A listing that ended in a Fatal gives a page with that Fatal
// and nothing else.
std::string html_page(const Report& report);

// One finding a line: row, class, column title, cell value, message; in the
// piece's own bytes, with tabs, line ends and NUL bytes in values as blanks.
// A finding about the whole row (or the piece) leaves title and value empty.
std::string tsv_findings(const Report& report);

// One field of the findings file: the text's bytes, with tabs, line ends and
// NUL bytes as blanks so that it stays one field of one line, and with an
// apostrophe before it when a spreadsheet would take it for a formula (it
// begins with =, +, @, a tab or a carriage return, or is a - with anything
// after it; a lone "-", the converter's mark of a missing value, stays).
std::string tsv_field(std::string_view text);

}  // namespace tabreport
