// The findings of a listing placed on the piece: each on the cell it is
// about (or its whole row), grouped by kind for the summary.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "listing_reader.h"
#include "sheet.h"

namespace tabreport {

inline constexpr int whole_row = -1;

struct Placed {
    int finding;  // index into ListingSummary::findings
    int column;   // index into the sheet's columns, or whole_row
};

struct Kind {
    std::string label;  // the catalogue's label of the kind (Windows-1252)
    std::string slug;   // its name in the page's address ("#kind=...")
    std::string explanation;  // the catalogue's explanation for people (Windows-1252), or empty
    msg::Severity severity = msg::Severity::error;
    int count = 0;
};

struct Placement {
    std::map<int, std::vector<Placed>> by_row;  // file row -> its findings in listing order
    std::vector<int> piece_findings;            // no row
    std::vector<int> missing_rows;              // findings on rows the piece does not have
    std::vector<Kind> kinds;                    // worst class first, then the most frequent
    std::vector<int> kind_of;                   // per finding: index into kinds
    std::set<int> rows_seen;                    // rows of by_row that place_row has had
};

// The placement of a piece read whole.
Placement place_findings(const Sheet& sheet, const ListingSummary& listing);

// The same a row at a time, for a piece read as a stream: place_listing from
// the listing alone (every row's findings on the whole row for now), then
// place_row for each row of the piece that has findings, then close_placement,
// which moves the findings of rows that never came to missing_rows.
Placement place_listing(const ListingSummary& listing);
void place_row(std::span<const rowchecks::Column> columns, const SheetRow& row, const ListingSummary& listing,
               Placement& placement);
void close_placement(Placement& placement);

// The worse of two classes (an error is worse than a warning, a warning than an info).
msg::Severity worse(msg::Severity a, msg::Severity b);

// A kind's label as a fragment of an address: lower-case letters, digits and '-'.
std::string kind_slug(std::string_view label);

}  // namespace tabreport
