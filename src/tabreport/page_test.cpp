// The page and the findings file from a piece and its listing: findings on
// the right cells, every byte of a cell shown and escaped, and a page that
// stays well-formed whatever the cells hold.
#include "page.h"

#include <gtest/gtest.h>

#include <set>

#include "findings_file.h"
#include "html_check.h"
#include "html_text.h"
#include "listing_capture.h"

namespace tabreport {
namespace {

tabulon::Run sscens_1881()
{
    tabulon::Run run;
    run.year = 1881;
    return run;
}

Sheet sheet_of(const std::string& piece, const tabulon::Run& run)
{
    File f = file_with(piece);
    LineReader reader(f.get());
    return read_sheet(reader, run);
}

const std::string titles =
    "Parish,ED,Folio,Page,Schedule,House,Address,U,Surname,Forenames,NF,Rel,Cond,Sex,Age,DF,Occupation,Emp,OF,"
    "County,Birth place,BF,Disability,Language,Notes\n";

// Everything one page is made from, kept alive together.
struct Made {
    tabulon::Run run;
    Sheet sheet;
    ListingSummary listing;
    Placement placement;
    Report report() const { return Report{"RG110123.CSV", "RG110123.erc", run, sheet, listing, placement, false}; }
};

Made make(const std::string& piece, const std::string& listing, const tabulon::Run& run = sscens_1881())
{
    Made m{run, sheet_of(piece, run), read_listing(listing), {}};
    m.placement = place_findings(m.sheet, m.listing);
    return m;
}

// A row as the page's data holds it: its number and cells, each after U+0080.
std::string row_data(const std::vector<std::string>& parts)
{
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i ? "\xC2\x80" : "") + parts[i];
    return out;
}

std::vector<std::pair<int, int>> placed_on(const Made& m, int row)
{
    std::vector<std::pair<int, int>> out;
    for (const Placed& p : m.placement.by_row.at(row))
        out.push_back({p.finding, p.column});
    return out;
}

TEST(HtmlText, EscapesMarkupAndReadsWindows1252)
{
    EXPECT_EQ(html_text("<b>&\"'x"), "&lt;b&gt;&amp;&quot;&#39;x");
    EXPECT_EQ(html_text("\x80\xE9\x9F\xA0"), "\xE2\x82\xAC\xC3\xA9\xC5\xB8\xC2\xA0");  // euro, e acute, Y diaeresis, nbsp
    EXPECT_EQ(html_text(std::string("a\0b", 3)), "a<span class=cc>\xE2\x90\x80</span>b");  // U+2400
    EXPECT_EQ(html_text("\x81"), "<span class=cc>&lt;81&gt;</span>");
    EXPECT_EQ(html_attribute(std::string("<\0\x81\"", 4)), "&lt;\xEF\xBF\xBD\xEF\xBF\xBD&quot;");
}

TEST(Placement, FindingsLandOnTheirCellsInListingOrder)
{
    const Made m = make("RG110123,\n" + titles + "\n" +
                            "Merrowby,1,4,1,1,,Mill \x85 Lane,,Ashdown,Thomas,,Head,M,M,46,,Miller,,,SOM,Merrowby\n"
                            ",,,4,,,,,Ashdown?,Jo?n,,Wife,M,F,40,,,,,SOM,Merrowby,,,,DELETED\n",
                        "Error: row 4, field contains an invalid character <\x85>\n"
                        "Warning: row 5, trailing \"?\" removed and flag set.\n"
                        "Warning: row 5, \"?\" detected, flag set.\n"
                        "Warning: row 5, is marked DELETED\n"
                        "Warning: row 5, page number = 4 not sequential\n"
                        "Error: row 5, household number = 1000000 too large for the output record\n"
                        "Warning: row 9, page number = 5 not sequential\n"
                        "Warning: Book numbers not set\n"
                        "Warning: row 9, unrecognised county code XYZ\n");
    using V = std::vector<std::pair<int, int>>;
    EXPECT_EQ(placed_on(m, 4), (V{{0, 6}}));                                       // the address
    EXPECT_EQ(placed_on(m, 5), (V{{1, 8}, {2, 9}, {3, 24}, {4, 3}, {5, whole_row}}));  // no household column here
    EXPECT_EQ(m.placement.missing_rows, (std::vector<int>{6, 8}));
    EXPECT_EQ(m.placement.piece_findings, std::vector<int>{7});
    EXPECT_EQ(m.sheet.titles[6], "Address");
    EXPECT_EQ(m.sheet.rows[3].cells[6].text, "Mill \x85 Lane");

    const std::string page = html_page(m.report());
    EXPECT_EQ(check::well_formed(page), "");
    // The rows as data, 0x85 an ellipsis; each finding with its row, column, class and kind.
    EXPECT_NE(page.find("\n\"" + row_data({"4", "Merrowby", "1", "4", "1", "1", "", "Mill \xE2\x80\xA6 Lane", ""})),
              std::string::npos);
    EXPECT_NE(page.find("[4,6,\"e\"," + std::to_string(m.placement.kind_of[0]) +
                        ",\"Error: row 4, field contains an invalid character \\u003c\xE2\x80\xA6\\u003e\"]"),
              std::string::npos);
    EXPECT_NE(page.find("[5,-1,\"e\","), std::string::npos);
    EXPECT_NE(page.find("<a href=\"#kind=page-number-not-sequential\" data-kind=\"page-number-not-sequential\">"),
              std::string::npos);
    // A kind whose value stands alone ends in an ellipsis, made UTF-8 once.
    EXPECT_NE(page.find(">unrecognised county code \xE2\x80\xA6</a>"), std::string::npos);
    // A kind's explanation stands beside it and goes with its findings.
    Made explained = m;
    explained.placement.kinds[0].explanation = "Look at <the> cell";
    const std::string with_why = html_page(explained.report());
    EXPECT_EQ(check::well_formed(with_why), "");
    EXPECT_NE(with_why.find("</a><p class=\"why\">Look at &lt;the&gt; cell</p>"), std::string::npos);
    EXPECT_NE(with_why.find(",\"Look at \\u003cthe\\u003e cell\"]"), std::string::npos);

    const std::string tsv = tsv_findings("RG110123.CSV", m.sheet, m.listing, m.placement);
    EXPECT_NE(tsv.find("RG110123.CSV\t4\tError\tAddress\tMill \x85 Lane\tError: row 4, field contains an invalid "
                       "character <\x85>\n"),
              std::string::npos);
    EXPECT_NE(tsv.find("RG110123.CSV\t5\tError\t\t\tError: row 5, household number"), std::string::npos);
}

TEST(Placement, AllLayoutNamesItsColumnsAndHasNoHeaderRows)
{
    tabulon::Run run = sscens_1881();
    run.brief = false;
    const Made m = make(",,1,1,Merrowby,1,4,1,1,,Mill Lane\n", "Error: row 1, household number = 0 not valid\n", run);
    EXPECT_EQ(m.sheet.titles[2], "Household");
    EXPECT_FALSE(m.sheet.rows[0].header);
    using V = std::vector<std::pair<int, int>>;
    EXPECT_EQ(placed_on(m, 1), (V{{0, 2}}));
}

// Each kind of finding has an address of its own on the page.
TEST(Placement, EveryKindHasItsOwnAddress)
{
    std::set<std::string> slugs;
    for (const msg::Entry& entry : msg::catalogue) {
        if (entry.severity == msg::Severity::plain)
            continue;
        EXPECT_TRUE(slugs.insert(kind_slug(entry.label)).second) << "two kinds read alike: " << entry.label;
    }
    EXPECT_EQ(kind_slug("folio/SCT book = 0"), "folio-sct-book-0");
}

TEST(Page, NoCellTextCanAddMarkupOrScript)
{
    std::string every_byte;
    for (int b = 1; b < 256; ++b)
        every_byte += b == ',' || b == '\n' || b == '\r' || b == '"' ? ' ' : static_cast<char>(b);
    const std::string hostile = "</td></tr></table><script>alert(1)</script>";
    const Made m = make("RG110123,\n<b>Parish</b>" + titles.substr(6) + "\n" + hostile + ",\"a \"\" b\",&amp;,x" +
                            std::string(1, '\0') + "y,\"<!--\",-->," + every_byte + "\n",
                        "Warning: row 4, parish = " + hostile + " contains unusual characters\n"
                        "Warning: row 4, <script>alert(2)</script>\n");
    const std::string page = html_page(m.report());
    EXPECT_EQ(check::well_formed(page), "");
    EXPECT_EQ(page.find("alert(1)</script>"), std::string::npos);
    EXPECT_NE(page.find(row_data({"\"4",
                                  "\\u003c/td\\u003e\\u003c/tr\\u003e\\u003c/table\\u003e\\u003cscript\\u003ealert(1)"
                                  "\\u003c/script\\u003e",
                                  "a \\\" b", "\\u0026amp;", "x\\u0000y", "\\u003c!--", "--\\u003e", ""})),
              std::string::npos);
    EXPECT_NE(page.find("\"titles\":[\"\\u003cb\\u003eParish\\u003c/b\\u003e\","), std::string::npos);
    // Backslashes doubled; the bytes Windows-1252 leaves undefined as their C1 code points.
    EXPECT_NE(page.find("[\\\\]^_`"), std::string::npos);
    EXPECT_NE(page.find("\xE2\x82\xAC\\u0081\xE2\x80\x9A"), std::string::npos);
}

TEST(Page, FatalListingShowsTheFatalAndNothingElse)
{
    const Made m = make("", "Warning: Cell A1 doesn't contain a valid piece number\n\n"
                            "Fatal: row 2, File type switch does not match number of columns in data (3)\n"
                            "\tall the titles in row 2 must be non-blank\n");
    const std::string page = html_page(m.report());
    EXPECT_EQ(check::well_formed(page), "");
    EXPECT_NE(page.find("Fatal: row 2, File type switch does not match number of columns in data (3)\n"
                        "\tall the titles in row 2 must be non-blank\n</pre>"),
              std::string::npos);
    EXPECT_EQ(page.find("Cell A1"), std::string::npos);
    EXPECT_EQ(page.find("<table"), std::string::npos);
}

TEST(FindingsFile, AValueASpreadsheetWouldTakeForAFormulaIsMarkedAsText)
{
    const struct {
        std::string value, field;
    } cases[] = {
        {"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"}, {"+44", "'+44"}, {"@SUM(A1)", "'@SUM(A1)"},
        {"\tx", "' x"}, {"\rx", "' x"}, {"-5", "'-5"}, {"--", "'--"}, {"-", "-"}, {"", ""},
        {"a=b", "a=b"}, {" =1", " =1"}, {"x\ty\nz", "x y z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tsv_field(c.value), c.field) << c.value;
}

}  // namespace
}  // namespace tabreport
