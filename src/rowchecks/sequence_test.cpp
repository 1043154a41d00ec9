#include "sequence.h"

#include <gtest/gtest.h>

#include "test_piece.h"

namespace rowchecks {
namespace {

tabulon::Run year(int census_year, bool sct = false, int ipart = 0)
{
    tabulon::Run run;
    run.year = census_year;
    run.sct = sct;
    run.ipart = ipart;
    return run;
}

std::string lines_warning(int n, const std::string& page)
{
    return "Warning: row " + std::to_string(n) + ", possibly too many lines on page " + page + "\n";
}

// The first page of an ED counts its first row, a later page does not: the
// warning comes with row 32 of the first page, row 33 of a later one, and then
// every 32 rows after the count restarts. With -q the counts run the same.
TEST(PageLines, FirstPageWarnsAt32LaterPagesAt33)
{
    for (bool quiet : {false, true}) {
        TestPiece piece(year(1881), quiet);
        std::string want;
        piece.row(sscens_row("1", "1", "1", "1", "", "Merrowby"));  // row 4: line 1 of page 1
        for (int line = 2; line <= 64; ++line)
            piece.row(sscens_row("", "", "", ""));
        if (!quiet)
            want += lines_warning(4 + 31, "1") + lines_warning(4 + 63, "1");
        piece.row(sscens_row("", "", "2", ""));  // first row of page 2: not counted
        const int page2 = piece.n();
        for (int line = 2; line <= 33; ++line)
            piece.row(sscens_row("", "", "", ""));
        if (!quiet)
            want += lines_warning(page2 + 32, "2");
        EXPECT_EQ(piece.listing(), want) << (quiet ? "quiet" : "warned");
    }
}

// Rows of an ED written with the suffix #8 are not counted, and a change of
// parish on their page is not reported.
TEST(PageLines, EdHash8RowsAreNotCounted)
{
    TestPiece piece(year(1881));
    piece.row(sscens_row("1#8", "1", "1", "1", "", "Merrowby"));
    for (int line = 2; line <= 40; ++line)
        piece.row(sscens_row("", "", "", ""));
    piece.row(sscens_row("", "", "", "", "", "Cheddon"));
    EXPECT_EQ(piece.listing(), "");
}

// The third page in a row on one folio number is one too many; the count then
// restarts, so the warning comes again with every third further page. Scottish
// pieces number books, not folios, and are not counted.
TEST(FolioPages, ThirdPageOfAFolioWarnsAndTheCountRestarts)
{
    for (bool sct : {false, true}) {
        TestPiece piece(year(1881, sct));
        piece.row(sscens_row("1", "5", "1", "1", "", "Merrowby"));
        for (const char* page : {"2", "3", "4", "5", "6"})
            piece.row(sscens_row("", "", page, ""));
        const std::string want = sct ? "" :
            "Warning: row 6, too many pages on folio 5\nWarning: row 9, too many pages on folio 5\n";
        EXPECT_EQ(piece.listing(), want) << (sct ? "Scottish" : "English");
    }
}

// A whole 1841 English piece numbers its EDs by book: a jump in the ED number
// is reported only with a part number, or in other years.
TEST(EdSequence, Whole1841EnglishPiecesSkipIt)
{
    struct Case {
        tabulon::Run run;
        bool warned;
    } cases[] = {{year(1841), false}, {year(1841, false, 2), true}, {year(1861), true}, {year(1841, true), true}};
    for (const Case& c : cases) {
        TestPiece piece(c.run, false, "1");
        piece.row(sscens_row("5", "1", "1", "1", "", "Merrowby"));
        piece.row(sscens_row("7", "", "", "2"));
        const bool warned = piece.listing().find("ED = 7 not sequential") != std::string::npos;
        EXPECT_EQ(warned, c.warned) << c.run.year << " sct " << c.run.sct << " part " << c.run.ipart;
    }
}

}  // namespace
}  // namespace rowchecks
