// Test helper: rows of a piece through the row checks, with the listing
// captured, and no files but the listing's.
#pragma once

#include <string>

#include "listing_capture.h"
#include "rowloop.h"

namespace rowchecks {

class TestPiece {
public:
    explicit TestPiece(tabulon::Run run, bool quiet = false, const std::string& header_book = "")
        : run_(run), cap_(quiet), state_(start_state(run_, header_book))
    {
    }

    // Checks one row (its text as the spreadsheet holds it) and returns it.
    const Row& row(const std::string& line)
    {
        ++state_.count.n;
        check_row(line, run_, tables_, state_, cap_.listing);
        return state_.row;
    }

    std::string listing() const { return cap_.text(); }
    int n() const { return state_.count.n; }

private:
    tabulon::Run run_;
    tabulon::CodeTables tables_;
    ListingCapture cap_;
    LoopState state_;
};

// A 256-wide SS-CENS row: location cells, then a person who may stand on
// any row of a household, in a piece of any year.
inline std::string sscens_row(const std::string& ed, const std::string& folio, const std::string& page,
                              const std::string& schedule, const std::string& uninhabited = "",
                              const std::string& parish = "")
{
    return parish + "," + ed + "," + folio + "," + page + "," + schedule + ",1,Church Lane," + uninhabited +
           ",Ashdown,Thomas,,Son,S,M,46,,Miller,,,SOM,Merrowby,,,-,";
}

}  // namespace rowchecks
