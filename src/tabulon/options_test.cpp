#include "options.h"

#include <gtest/gtest.h>

#include <string>

#include "file.h"
#include "listing_capture.h"

namespace tabulon {
namespace {

// n cells of text, the first one first_cell, separated by commas.
std::string cells(int n, const std::string& text = "Title", const std::string& first_cell = "Civil Parish")
{
    std::string row = first_cell;
    for (int i = 1; i < n; ++i)
        row += "," + text + std::to_string(i);
    return row;
}

LayoutFit fit_of(const std::string& bytes)
{
    const File f = file_with(bytes);
    return find_layout(f.get());
}

std::string utf16le(const std::string& ascii)
{
    std::string out = "\xFF\xFE";
    for (char c : ascii)
        out += std::string{c, '\0'};
    return out;
}

TEST(FindLayout, TheOpeningRowsDecideTheLayoutSwitches)
{
    const std::string row1 = "RG11 piece 123,,\r\n";
    const std::string row3 = "\r\nMerrowby,1,4,1,1\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        bool fits;
        std::string letters;
        int titles;
    };
    const Case cases[] = {
        {"25 titles", row1 + cells(25) + row3, true, "", 25},
        {"26 titles", row1 + cells(26) + row3, true, "c", 26},
        {"28 titles", row1 + cells(28) + row3, true, "d", 28},
        {"29 titles (an 1841 English piece's book)", row1 + cells(29) + row3, true, "d", 29},
        {"a row 1 as wide as the titles, as spreadsheets save it", cells(28, "", "RG13 piece 5") + "\r\n" +
             cells(28) + row3, true, "d", 28},
        {"row 2 ending in a comma", row1 + cells(25) + "," + row3, true, "", 25},
        {"a title holding a comma, in quotes", row1 + "\"Parish, or Township\"," + cells(24) + row3, true, "", 25},
        {"a title typed on two lines", row1 + "\"Civil\nParish\"," + cells(25) + row3, true, "c", 26},
        {"cell A1 typed on two lines", "\"RG11\r\npiece 123\",,\r\n" + cells(25) + row3, true, "", 25},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + row1 + cells(26) + row3, true, "c", 26},
        {"UTF-16 with its mark", utf16le(row1 + cells(25) + row3), true, "", 25},
        {"a blank title stops the count", row1 + cells(10) + ",," + cells(14) + row3, false, "", 10},
        {"27 titles", row1 + cells(27) + row3, false, "", 27},
        {"an ALL-layout row of 28 cells", cells(28, "x", "") + "\r\n" + cells(28, "x", ""), true, "a", 0},
        {"29 cells", cells(29, "x", "") + "\r\n", true, "ac", 0},
        {"31 cells, one of them quoted with commas", "," + cells(30, "x", "\"a,b,c\"") + "\n", true, "ad", 0},
        {"30 cells", cells(30, "x", "") + "\r\n", false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LayoutFit fit = fit_of(c.bytes);
        EXPECT_TRUE(fit.read);
        EXPECT_EQ(fit.fits, c.fits);
        EXPECT_EQ(fit.letters, c.letters);
        EXPECT_EQ(fit.titles, c.titles);
    }
    EXPECT_FALSE(fit_of("").read);
}

TEST(FindLayout, SaysWhatFitsOrTheCountsEachLayoutTakes)
{
    EXPECT_EQ(layout_found(fit_of("RG12/456,,\n" + cells(26))), "-c (26 titles in row 2)");
    EXPECT_EQ(layout_found(fit_of("RG11/123\n" + cells(25))), "no switch (25 titles in row 2)");
    EXPECT_EQ(layout_advice(fit_of(cells(29, "x", ""))), "the layout that fits: -a -c (29 cells in row 1)");
    EXPECT_EQ(layout_advice(fit_of("RG11/123,,\n" + cells(27))),
              "no layout fits: 27 titles in row 2 (no switch takes 25, -c 26, -d 28 or 29), "
              "3 cells in row 1 (-a takes 28, -a -c 29, -a -d 31)");
}

TEST(FindLayout, TheLayoutOfARunDescriptionAndTheTitlesFatal)
{
    std::string letters = "x";
    EXPECT_TRUE(layout_named("SS-CENS", "IN-CENS", letters));
    EXPECT_EQ(letters, "");
    EXPECT_TRUE(layout_named("ALL", "VALD-REV", letters));
    EXPECT_EQ(letters, "ad");
    EXPECT_FALSE(layout_named("ALL", "SOMETHING", letters));

    tabulon::Run run;
    set_default_switches(run);
    apply_layout("ac", run);
    EXPECT_FALSE(run.brief);
    EXPECT_EQ(run.rlen, 276);

    EXPECT_TRUE(is_titles_mismatch("Fatal: row 2, File type switch does not match number of columns in data (25)"));
    EXPECT_FALSE(is_titles_mismatch("Fatal: row 2, No data in file, only one header row was found"));
}

}  // namespace
}  // namespace tabulon
