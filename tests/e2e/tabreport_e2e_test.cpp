// tabreport seen from outside: each sample piece converted by tabulon, then
// its report written and checked, on the page as written and (Linux only) as
// a real browser shows it: headless Chromium loads the file, its script runs,
// and a filter chosen in the address fragment leaves only its rows.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "harness.h"
#include "html_check.h"

#ifndef EXAMPLES_DIR
#error "EXAMPLES_DIR must name the folder of sample pieces"
#endif

namespace {

using e2e::Target;
namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// The browser

std::string browser()
{
    if (const char* chosen = std::getenv("E2E_BROWSER"))
        return chosen;
    for (const char* path : {"/usr/bin/chromium-headless-shell", "/usr/bin/chromium", "/usr/bin/chromium-browser"})
        if (e2e::exists(path))
            return path;
    return "";
}

// Skips (or, with E2E_REQUIRE_BROWSER set, fails) a test that needs the browser.
#define REQUIRE_BROWSER()                                                                            \
    do {                                                                                             \
        if (Target::get().windows)                                                                   \
            GTEST_SKIP() << "the browser checks run in the Linux lane";                              \
        if (browser().empty()) {                                                                     \
            if (std::getenv("E2E_REQUIRE_BROWSER"))                                                  \
                FAIL() << "no chromium-headless-shell or chromium found";                            \
            GTEST_SKIP() << "no chromium-headless-shell or chromium (apt-get install chromium-headless-shell)"; \
        }                                                                                            \
    } while (0)

// The page's DOM after loading, as Chromium leaves it (scripts run).
std::string dump_dom(const fs::path& page, const std::string& fragment = "")
{
    e2e::TempDir profile;
    e2e::Invocation browse;
    browse.program = browser();
    browse.args = {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                   "--disable-background-networking", "--disable-component-update", "--disable-sync",
                   "--user-data-dir=" + profile.path().string(), "--dump-dom",
                   "file://" + fs::absolute(page).string() + fragment};
    browse.timeout = std::chrono::seconds(90);
    const e2e::Result r = e2e::run(browse);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}

std::string attribute(const std::string& dom, const std::string& element_id, const std::string& name)
{
    const auto at = dom.find("id=\"" + element_id + "\"");
    if (at == std::string::npos)
        return "(no element " + element_id + ")";
    const auto start = dom.rfind('<', at), end = dom.find('>', at);
    const std::string tag = dom.substr(start, end - start);
    const auto value = tag.find(name + "=\"");
    if (value == std::string::npos)
        return "(no " + name + ")";
    const auto from = value + name.size() + 2;
    return tag.substr(from, tag.find('"', from) - from);
}

// ---------------------------------------------------------------------------
// Runs

struct Converted {
    e2e::Result tabulon;
    e2e::Result report;
    std::string page;
    std::string tsv;
    fs::path html;
};

std::vector<std::string> with_file(std::vector<std::string> switches, const fs::path& piece)
{
    switches.push_back(Target::get().native(piece));
    return switches;
}

// Converts the piece in dir with the switches and writes its report (and
// findings file), which takes the layout from the listing.
Converted convert_and_report(const fs::path& dir, const std::string& piece, const std::vector<std::string>& switches)
{
    Converted c;
    c.tabulon = e2e::run("tabulon", with_file(switches, dir / piece));
    c.report = e2e::run("tabreport", with_file({"-t"}, dir / piece));
    c.html = dir / fs::path(piece).replace_extension(".html");
    c.page = e2e::read_file(c.html);
    c.tsv = e2e::read_file(dir / fs::path(piece).replace_extension(".tsv"));
    return c;
}

// A highlighted cell: the row, the class letter and the cell's text.
struct Cell {
    int row;
    std::string cls;
    std::string text;
};

struct Sample {
    std::string piece;
    std::vector<std::string> switches;
    int errors, warnings;
    std::vector<Cell> cells;
    std::string kind;                  // filtered by, in the browser
    std::string kind_rows;             // the rows it leaves ("" for none)
    std::string rows_with_findings;    // shown by default
};

void PrintTo(const Sample& s, std::ostream* os)
{
    *os << s.piece;
}

const Sample samples[] = {
    {"RG090321.CSV", {}, 1, 3, {{4, "e", ""}, {6, "w", "Merrowby"}, {7, "w", "Mill Lane"}, {11, "w", "4"}},
     "page-number-not-sequential", "11", "4 6 7 11"},
    {"RG120456.CSV", {"-c"}, 1, 6, {{5, "w", "O"}, {8, "w", "30m"}, {10, "w", "Nancarrow?"}, {12, "e", "l2"}},
     "age-more-than-24m", "8", "5 8 9 10 11 12"},
    {"RG100789.CSV", {"-a"}, 0, 3, {{3, "w", "D"}, {7, "w", "DVN"}}, "blank-ignored", "4", "3 4 7"},
    {"HO107012.CSV", {"-d"}, 0, 3, {{7, "w", ""}, {8, "w", ""}, {11, "w", "0"}}, "zero-age", "11", "7 8 11"},
    {"RG110123.CSV", {}, 0, 0, {}, "", "", ""},
};

class SamplePiece : public ::testing::TestWithParam<Sample> {
protected:
    void SetUp() override
    {
        for (const char* name : {GetParam().piece.c_str()})
            fs::copy_file(fs::path(EXAMPLES_DIR) / name, dir / name);
        run = convert_and_report(dir.path(), GetParam().piece, GetParam().switches);
    }
    e2e::TempDir dir;
    Converted run;
};

std::string counted(int n, const char* what)
{
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

TEST_P(SamplePiece, ReportHoldsTheListingsCountsAndCells)
{
    const Sample& s = GetParam();
    EXPECT_EQ(run.report.status, 0) << run.report.err;
    EXPECT_EQ(run.report.err, Target::get().text("\nReport file is " + Target::get().native(run.html) +
                                                 "\nFindings file is " +
                                                 Target::get().native(fs::path(run.html).replace_extension(".tsv")) +
                                                 "\n"));
    EXPECT_EQ(tabreport::check::well_formed(run.page), "");
    EXPECT_NE(run.page.find("id=\"errors\">" + counted(s.errors, "error") + "<"), std::string::npos);
    EXPECT_NE(run.page.find("id=\"warnings\">" + counted(s.warnings, "warning") + "<"), std::string::npos);
    for (const Cell& cell : s.cells) {
        const auto row = run.page.find("<tbody id=\"r" + std::to_string(cell.row) + "\"");
        ASSERT_NE(row, std::string::npos) << "row " << cell.row;
        const auto end = run.page.find("</tbody>", row);
        EXPECT_NE(run.page.substr(row, end - row).find("<td class=\"" + cell.cls + "\">" + cell.text + "<"),
                  std::string::npos)
            << "row " << cell.row << ", cell " << cell.text;
    }
    // A header line, then one line per finding, each naming the piece.
    int tsv_lines = 0;
    for (char c : run.tsv)
        tsv_lines += c == '\n';
    EXPECT_EQ(tsv_lines, 1 + s.errors + s.warnings);
    EXPECT_EQ(run.tsv.rfind(Target::get().text("Piece\tRow\tClass\tColumn\tValue\tMessage\n"), 0), 0u);
    if (s.errors + s.warnings > 0) {
        EXPECT_NE(run.tsv.find(Target::get().newline + s.piece + "\t"), std::string::npos);
    }
}

TEST_P(SamplePiece, BrowserRunsThePageAndItsFilters)
{
    REQUIRE_BROWSER();
    const Sample& s = GetParam();
    const std::string dom = dump_dom(run.html);
    EXPECT_EQ(attribute(dom, "shown", "data-visible"), s.rows_with_findings);
    EXPECT_NE(dom.find("<html lang=\"en\" data-script=\"ok\">"), std::string::npos) << "the script did not finish";
    for (const Cell& cell : s.cells) {
        EXPECT_NE(dom.find("<td class=\"" + cell.cls + "\">" + cell.text + "<"), std::string::npos) << cell.text;
    }
    if (s.kind.empty())
        return;
    const std::string filtered = dump_dom(run.html, "#kind=" + s.kind);
    EXPECT_EQ(attribute(filtered, "shown", "data-visible"), s.kind_rows);
    const std::string all = dump_dom(run.html, "#rows=all");
    EXPECT_EQ(attribute(all, "shown", "data-visible"), s.rows_with_findings);
    EXPECT_NE(all.find("<body class=\"all\">"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Samples, SamplePiece, ::testing::ValuesIn(samples),
                         [](const auto& info) { return fs::path(info.param.piece).stem().string(); });

// ---------------------------------------------------------------------------
// Cells that mean something to HTML, eight-bit text and NUL bytes

const std::string kTitles =
    "Civil Parish,ED,Folio,Page,Schedule,House,Address,Uninhabited,Surname,Forenames,Name Flag,Relationship,"
    "Condition,Sex,Age,Detail Flag,Occupation,Employed,Occupation Flag,County,Birth place,Birth Place Flag,"
    "Disability,Language,Notes\r\n";

TEST(TabreportPage, SpecialCharactersAreShownFaithfullyAndInjectNothing)
{
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110999.CSV",
                    "RG11/999,\r\n" + kTitles + ",\r\n" +
                        "Merrowby,1,2,1,1,1,\"<b>&amp; \"\"Mill\"\" Lane</b>\",,Caf\xE9,Zo\x80,,Head,M,M,40,,"
                        "<script>alert(1)</script>,,,SOM,Merrowby\r\n" +
                        ",,,,,,,,Smith" + std::string(1, '\0') + "son,Ann,,Wife,M,F,38,,,,,SOM,Sm?th Barton\r\n");
    const Converted c = convert_and_report(dir.path(), "RG110999.CSV", {});
    ASSERT_EQ(c.report.status, 0) << c.report.err;
    EXPECT_EQ(tabreport::check::well_formed(c.page), "");
    EXPECT_EQ(c.page.find("<script>alert"), std::string::npos);
    EXPECT_NE(c.page.find("<td class=\"e\">Smith<span class=cc>\xE2\x90\x80</span>son<"), std::string::npos);
    EXPECT_NE(c.page.find("<td>&lt;b&gt;&amp;amp; &quot;Mill&quot; Lane&lt;/b&gt;<"), std::string::npos);
    EXPECT_NE(c.page.find("<td class=\"w\">Caf\xC3\xA9<td class=\"e\">Zo\xE2\x82\xAC<"), std::string::npos);  // 0x80 is not valid

    if (Target::get().windows || browser().empty())
        return;
    const std::string dom = dump_dom(c.html);
    EXPECT_NE(dom.find("data-script=\"ok\""), std::string::npos);
    EXPECT_NE(dom.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(dom.find("Caf\xC3\xA9"), std::string::npos);
    EXPECT_EQ(dom.find("<b>&amp;"), std::string::npos);
}

// ---------------------------------------------------------------------------
// When there is no report to make, or one with a warning

struct Staged {
    e2e::TempDir dir;
    fs::path piece(const std::string& name = "RG090321.CSV") const { return dir / name; }
    Staged(const std::vector<std::string>& switches = {})
    {
        fs::copy_file(fs::path(EXAMPLES_DIR) / "RG090321.CSV", piece());
        e2e::run("tabulon", with_file(switches, piece()));
    }
};

TEST(TabreportRun, RefusesAMissingListingAnotherPiecesListingOrOtherSwitches)
{
    Staged s;
    fs::copy_file(fs::path(EXAMPLES_DIR) / "RG110123.CSV", s.piece("RG110123.CSV"));
    e2e::Result r = e2e::run("tabreport", with_file({}, s.piece("RG110123.CSV")));
    EXPECT_EQ(r.status, 12);
    EXPECT_NE(r.err.find("RG110123.erc) not found: convert the piece with tabulon first"), std::string::npos) << r.err;

    fs::copy_file(s.piece("RG090321.erc"), s.piece("RG110123.erc"));
    r = e2e::run("tabreport", with_file({}, s.piece("RG110123.CSV")));
    EXPECT_EQ(r.status, 12);
    EXPECT_NE(r.err.find("RG110123.erc) belongs to another piece ("), std::string::npos) << r.err;

    r = e2e::run("tabreport", with_file({"-a"}, s.piece()));
    EXPECT_EQ(r.status, 12);
    EXPECT_NE(r.err.find("was written for input format SS-CENS, output format IN-CENS: give tabreport the "
                         "switches that tabulon was given"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(e2e::exists(s.piece("RG110123.html")));
    EXPECT_FALSE(e2e::exists(s.piece("RG090321.html")));
}

TEST(TabreportRun, APieceEditedAfterItsListingIsReportedWithAWarning)
{
    Staged s;
    fs::last_write_time(s.piece(), fs::last_write_time(s.piece("RG090321.erc")) + std::chrono::seconds(5));
    const e2e::Result r = e2e::run("tabreport", with_file({}, s.piece()));
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("Warning: the piece was changed after the listing was written"), std::string::npos);
    EXPECT_NE(e2e::read_file(s.piece("RG090321.html")).find("id=\"stale\""), std::string::npos);
}

TEST(TabreportRun, AListingEndingInAFatalGivesAPageOfThatFatal)
{
    Staged s({"-c"});  // 25 titles for a 26-column layout
    const e2e::Result r = e2e::run("tabreport", with_file({"-c", "-t"}, s.piece()));
    EXPECT_EQ(r.status, 8);
    EXPECT_NE(r.err.find(Target::get().text("The conversion stopped with a Fatal; the report shows it\n"
                                            "The layout that fits: no switch (25 titles in row 2)\n")),
              std::string::npos)
        << r.err;
    const std::string page = e2e::read_file(s.piece("RG090321.html"));
    EXPECT_EQ(tabreport::check::well_formed(page), "");
    EXPECT_NE(page.find("Fatal: row 2, File type switch does not match number of columns in data (25)\n"
                        "\tall the titles in row 2 must be non-blank\n</pre>"),
              std::string::npos);
    EXPECT_EQ(page.find("<table"), std::string::npos);
    EXPECT_FALSE(e2e::exists(s.piece("RG090321.tsv")));
}

TEST(TabreportRun, UsageAndTheLauncherPrompt)
{
    e2e::Result r = e2e::run("tabreport", {"-h"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind(Target::get().text("Usage (v4.11.2): tabreport [-a] [-c|-d] [-t] [-h|-?] <filename.CSV>\n"),
                          0),
              0u)
        << r.err;

    Staged s;
    r = e2e::run("tabreport", {}, "-t \"" + Target::get().native(s.piece()) + "\"\n\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Program Complete"), std::string::npos);
    EXPECT_TRUE(e2e::exists(s.piece("RG090321.html")));
    EXPECT_TRUE(e2e::exists(s.piece("RG090321.tsv")));
}

// ---------------------------------------------------------------------------
// A large piece

// People in households of five, 25 to a page, the schedules starting again
// after 999, a question mark in every 40th surname.
std::string large_piece(int rows)
{
    std::string piece = "RG11/998,\r\n" + kTitles + ",\r\n";
    for (int i = 0; i < rows; ++i) {
        const int page = i / 25 + 1, schedule = i / 5 % 999 + 1;
        const bool first_on_page = i % 25 == 0, head = i % 5 == 0;
        const std::string folio = first_on_page && page % 2 == 1 ? std::to_string(page / 2 + 1) : "";
        piece += (i == 0 ? "Merrowby,1," : ",,") + folio + "," + (first_on_page ? std::to_string(page) : "") + "," +
                 (head ? std::to_string(schedule) + "," + std::to_string(i / 5 + 1) + ",Church Lane" : ",,") + ",," +
                 (i % 40 == 7 ? "Ashd?wn" : "Ashdown") + ",Thomas,-," + (head ? "Head" : "Son") +
                 ",M,M,46,-,Miller,,-,SOM,Merrowby,-,,,\r\n";
    }
    return piece;
}

TEST(TabreportLarge, TwentyThousandRowsMakeAPageOfAFewMegabytesQuickly)
{
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110998.CSV", large_piece(20000));
    const auto start = std::chrono::steady_clock::now();
    const Converted c = convert_and_report(dir.path(), "RG110998.CSV", {});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(c.report.status, 0) << c.report.err;
    EXPECT_LT(c.page.size(), 4u * 1024 * 1024);
    EXPECT_NE(c.page.find("<span class=\"n w\">500</span> <a href=\"#kind=detected-flag-set\""), std::string::npos);
    if (E2E_OPTIMISED_PROGRAMS && !Target::get().windows) {
        EXPECT_LT(seconds, 10.0);
    }
    if (Target::get().windows || browser().empty())
        return;
    const auto loading = std::chrono::steady_clock::now();
    const std::string dom = dump_dom(c.html, "#kind=detected-flag-set");
    EXPECT_NE(dom.find("data-script=\"ok\""), std::string::npos);
    EXPECT_EQ(attribute(dom, "shown", "data-visible").substr(0, 12), "11 51 91 131");
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - loading).count(), 30.0);
}

}  // namespace
