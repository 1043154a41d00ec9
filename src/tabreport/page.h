// The findings report: one self-contained HTML page (inline style and a
// little script, nothing fetched) showing the piece as a spreadsheet with its
// findings on the cells.
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

}  // namespace tabreport
