// The batch converter: every piece of a folder tree through tabulon, a summary
// line per piece in path order, the total, and the batch's exit status. The
// pieces are golden cases, so the counts expected are those of their listings.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using e2e::Target;
namespace fs = std::filesystem;

const fs::path golden_dir = GOLDEN_DIR;

// The Error and Warning lines of a golden case's expected listing, and its status.
struct Expected {
    int status;
    int errors = 0;
    int warnings = 0;
};

Expected expected(const std::string& folder, const std::string& variant)
{
    Expected e{std::stoi(e2e::read_file(golden_dir / folder / (variant + ".status")))};
    std::istringstream listing(e2e::read_file(golden_dir / folder / (variant + ".erc")));
    for (std::string line; std::getline(listing, line);) {
        e.errors += line.rfind("Error:", 0) == 0;
        e.warnings += line.rfind("Warning:", 0) == 0;
    }
    return e;
}

std::string plural(int count, const std::string& word)
{
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// The layout the batch found for a piece with 25 titles in row 2, given no layout switch.
const std::string plain_layout = "no switch (25 titles in row 2)";

std::string converted(const std::string& name, const Expected& e, const std::string& layout = plain_layout)
{
    return name + ": status " + std::to_string(e.status) + ", " + plural(e.errors, "error") + ", " +
           plural(e.warnings, "warning") + "; layout found: " + layout;
}

// name holds '/' between folders; the Windows program shows backslashes.
std::string shown(std::string name)
{
    for (char& c : name)
        if (c == '/')
            c = Target::get().sep;
    return name;
}

// A tree of three pieces (clean, errors, warnings only) and a spreadsheet that
// is not a piece, with a file the batch must pass over.
void make_tree(const fs::path& root, bool with_stray)
{
    fs::create_directories(root / "north");
    fs::create_directories(root / "south" / "deeper");
    fs::copy_file(golden_dir / "rg11_clean" / "RG110123.CSV", root / "north" / "RG110123.CSV");
    fs::copy_file(golden_dir / "rg09_sample" / "RG090321.CSV", root / "south" / "RG090321.CSV");
    fs::copy_file(golden_dir / "ho107_b1book" / "HO1070046.CSV", root / "south" / "deeper" / "HO1070046.csv");
    e2e::write_file(root / "south" / "readme.txt", "not a spreadsheet\n");
    if (with_stray)
        e2e::write_file(root / "south" / "deeper" / "totals.CSV", "Piece,Rows\n");
}

TEST(Tabbatch, ConvertsEveryPieceOfTheTreeAndTellsWhichFailed)
{
    e2e::TempDir dir;
    make_tree(dir.path(), true);
    const e2e::Result r = e2e::run("tabbatch", {"-j", "2", Target::get().native(dir.path())});

    const Expected clean = expected("rg11_clean", "plain"), slips = expected("rg09_sample", "plain"),
                   books = expected("ho107_b1book", "plain");
    EXPECT_EQ(r.out, e2e::lines({
                         converted(shown("north/RG110123.CSV"), clean),
                         converted(shown("south/RG090321.CSV"), slips),
                         converted(shown("south/deeper/HO1070046.csv"), books),
                         shown("south/deeper/totals.CSV") +
                             ": status 12, not converted: Fatal: Census year cannot be determined from file "
                             "name (totals)",
                         "Total: 4 pieces, 1 clean, 1 with warnings only, 1 with errors, 1 not converted; " +
                             plural(clean.errors + slips.errors + books.errors, "error") + ", " +
                             plural(clean.warnings + slips.warnings + books.warnings, "warning"),
                     }));
    EXPECT_EQ(r.status, 12);
    EXPECT_NE(r.err.find("pieces done"), std::string::npos);
    // Each piece's listing and records stand beside it, as after a run of its own.
    EXPECT_EQ(e2e::mask_date(e2e::read_file(dir / "south" / "RG090321.erc")),
              Target::get().text(e2e::read_file(golden_dir / "rg09_sample" / "plain.erc")));
    EXPECT_TRUE(e2e::exists(dir / "north" / "rg110123.dat"));
    EXPECT_TRUE(e2e::exists(dir / "south" / "deeper" / "ho107046.dat"));
}

TEST(Tabbatch, GivesTheSwitchesToEveryPieceAndEndsWithEightOnErrors)
{
    e2e::TempDir dir;
    make_tree(dir.path(), false);
    const e2e::Result r = e2e::run("tabbatch", {"-q", Target::get().native(dir.path())});

    const Expected clean = expected("rg11_clean", "plain"), slips = expected("rg09_sample", "quiet"),
                   books = expected("ho107_b1book", "quiet");
    EXPECT_EQ(r.out, e2e::lines({
                         converted(shown("north/RG110123.CSV"), clean),
                         converted(shown("south/RG090321.CSV"), slips),
                         converted(shown("south/deeper/HO1070046.csv"), books),
                         "Total: 3 pieces, 2 clean, 0 with warnings only, 1 with errors, 0 not converted; " +
                             plural(slips.errors, "error") + ", 0 warnings",
                     }));
    EXPECT_EQ(r.status, 8);
}

// --- what the batch must not do: mix two pieces, pass something over
// without a word, take a name for a switch, or hide why a piece failed ---

// One case: the tree to make (the folder "north" with a clean piece is always
// there), the standard output expected ('/' between folders) and the status.
struct BatchCase {
    const char* name;
    bool posix_only;  // cannot happen on Windows (names differing only in case, links, permissions)
    std::function<void(const fs::path& tree)> make;
    std::vector<std::string> lines;
    int status;
    std::function<void(const fs::path& tree)> check = nullptr;  // what must stand in the tree afterwards
    bool unprivileged = false;  // run where folder permissions bind (as nobody when the tests run as root)
    bool deep_programs = false;  // the programs in a folder too deep for the converter's path
    std::vector<std::string> windows_lines = {};  // where Windows differs; "<root>" is the tree as given
};

void copy_clean(const fs::path& to)
{
    fs::create_directories(to.parent_path());
    fs::copy_file(golden_dir / "rg11_clean" / "RG110123.CSV", to);
}

// Everything in the folder, by name.
std::vector<std::string> names_in(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

e2e::Result run_case(const BatchCase& c, const e2e::TempDir& dir, const fs::path& tree)
{
    const Target& target = Target::get();
    e2e::Invocation run;
    run.program = "tabbatch";
    run.args = {target.native(tree)};
    if (c.deep_programs) {
        const fs::path deep = dir / std::string(120, 'p');
        fs::create_directories(deep);
        e2e::stage_program("tabulon", deep);
        run.program = e2e::stage_program("tabbatch", deep).string();
    }
    if (c.unprivileged && geteuid() == 0) {
        // Permissions do not bind root: run the batch as nobody, in a tree it may write to.
        using perms = fs::perms;
        fs::permissions(dir.path(), perms::others_exec, fs::perm_options::add);
        for (const auto& entry : fs::recursive_directory_iterator(tree))
            if (entry.is_directory() && entry.path().filename() != "locked")
                fs::permissions(entry.path(), perms::all, fs::perm_options::add);
        fs::permissions(tree, perms::all, fs::perm_options::add);
        run.args.insert(run.args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", target.program("tabbatch")});
        run.program = "/usr/bin/setpriv";
    }
    return e2e::run(run);
}

TEST(Tabbatch, NeverMixesTwoPiecesNorPassesAnythingOverWithoutAWord)
{
    const Expected clean = expected("rg11_clean", "plain");
    const std::string north = converted("north/RG110123.CSV", clean);
    const auto total = [&](int pieces, int not_converted) {
        const int converted = pieces - not_converted;
        return "Total: " + plural(pieces, "piece") + ", " + std::to_string(converted) +
               " clean, 0 with warnings only, 0 with errors, " + std::to_string(not_converted) +
               " not converted; " + plural(converted * clean.errors, "error") + ", " +
               plural(converted * clean.warnings, "warning");
    };
    const auto no_output_of_clash = [](const fs::path& tree) {
        EXPECT_EQ(names_in(tree / "clash"), (std::vector<std::string>{"RG110123.CSV", "RG11123.CSV"}));
    };
    const BatchCase cases[] = {
        {"two names, one data file", false,
         [](const fs::path& tree) {
             copy_clean(tree / "clash" / "RG110123.CSV");
             copy_clean(tree / "clash" / "RG11123.CSV");
         },
         {"clash/RG110123.CSV: not converted, it would write the same data file (rg110123.dat) as RG11123.CSV",
          "clash/RG11123.CSV: not converted, it would write the same data file (rg110123.dat) as RG110123.CSV",
          north, total(3, 2)},
         12, no_output_of_clash},
        {"names differing only in case", true,
         [](const fs::path& tree) {
             copy_clean(tree / "clash" / "RG110123.CSV");
             copy_clean(tree / "clash" / "rg110123.csv");
         },
         {"clash/RG110123.CSV: not converted, it would write the same data file (rg110123.dat) and listing as "
          "rg110123.csv",
          "clash/rg110123.csv: not converted, it would write the same data file (rg110123.dat) and listing as "
          "RG110123.CSV",
          north, total(3, 2)},
         12},
        {"a name that begins like a switch", false,
         [](const fs::path& tree) { copy_clean(tree / "dash" / "-RG110123.CSV"); },
         {"dash/-RG110123.CSV: status 12, not converted: Fatal: Census year cannot be determined from file name "
          "(-RG110123)",
          north, total(2, 1)},
         12, [](const fs::path& tree) { EXPECT_TRUE(e2e::exists(tree / "dash" / "-RG110123.erc")); }},
        {"control characters in names", true,
         [](const fs::path& tree) {
             copy_clean(tree / "odd" / "RG11\n0124.CSV");
             copy_clean(tree / "odd" / "a\x1b[2Jb.csv");
         },
         {north,
          "odd/RG11\\n0124.CSV: status 12, not converted: Fatal: Piece number in file name (\\n0124) is not numeric",
          "odd/a\\x1b[2Jb.csv: status 12, not converted: Fatal: Census year cannot be determined from file name "
          "(a\\x1b[2Jb)",
          total(3, 2)},
         12},
        {"named like a piece, but not one the converter reads", false,
         [](const fs::path& tree) {
             fs::create_directories(tree / "south" / "RG120001.CSV");
             copy_clean(tree / "south" / "RG110125.CsV");
             copy_clean(tree / "south" / "RG110126.old.csv");
         },
         {"skipped: south/RG110125.CsV: the extension is .CsV, and tabulon reads only .csv or .CSV",
          "skipped: south/RG110126.old.csv: the extension is .old.csv, and tabulon reads only .csv or .CSV",
          "skipped: south/RG120001.CSV: a folder, not a piece", north, total(1, 0)},
         0},
        {"links to nothing and to folders", true,
         [](const fs::path& tree) {
             fs::create_directories(tree / "south");
             fs::create_symlink("RG110199.CSV", tree / "south" / "gone.csv");
             fs::create_directory_symlink("../north", tree / "south" / "north");
             fs::create_symlink("loop.csv", tree / "south" / "loop.csv");
         },
         {"skipped: south/gone.csv: a link to something that is not there",
          "could not read: south/loop.csv: Too many levels of symbolic links",
          "skipped: south/north: a link to a folder, not followed", north, total(1, 0)},
         12},
        // Windows (Wine) follows a link to a folder as if it were one: the
        // folder is not searched a second time, and the search ends.
        {"a link back up the tree", false,
         [](const fs::path& tree) { fs::create_directory_symlink("..", tree / "north" / "up"); },
         {"skipped: north/up: a link to a folder, not followed", north, total(1, 0)}, 0, nullptr, false, false,
         {"skipped: north/up: the same folder as <root>, searched there", north, total(1, 0)}},
        {"a folder that cannot be read", true,
         [](const fs::path& tree) {
             copy_clean(tree / "locked" / "RG110124.CSV");
             fs::permissions(tree / "locked", fs::perms::none);
         },
         {"could not read: locked: Permission denied", north, total(1, 0)}, 12, nullptr, true},
        // The converter stopped before it wrote a listing: what stands at the
        // listing's path (older than the run) is not its listing.
        {"the listing's name taken by a folder", false,
         [](const fs::path& tree) {
             fs::create_directories(tree / "taken" / "RG110123.erc");
             fs::last_write_time(tree / "taken" / "RG110123.erc",
                                 fs::file_time_type::clock::now() - std::chrono::hours(1));
             copy_clean(tree / "taken" / "RG110123.CSV");
         },
         {north,
          std::string("taken/RG110123.CSV: status 12, not converted: Fatal: Messages file (RG110123.erc) failed to "
                      "open; Fatal: ") +
              (Target::get().windows ? "Permission denied" : "Is a directory"),
          total(2, 1)},
         12},
        {"the converter's path too long", false, [](const fs::path&) {},
         {"north/RG110123.CSV: status 12, not converted: Fatal: Program path too long, move it closer to the root "
          "of the disk",
          "Total: 1 piece, 0 clean, 0 with warnings only, 0 with errors, 1 not converted; 0 errors, 0 warnings"},
         12, nullptr, false, true},
    };
    for (const BatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.posix_only && Target::get().windows)
            continue;
        if (c.unprivileged && geteuid() == 0 && !e2e::exists("/usr/bin/setpriv"))
            continue;  // permissions do not bind root, and there is no other user to be
        e2e::TempDir dir;
        const fs::path tree = dir / "tree";
        copy_clean(tree / "north" / "RG110123.CSV");
        c.make(tree);
        const e2e::Result r = run_case(c, dir, tree);
        std::string lines;
        for (const std::string& line : Target::get().windows && !c.windows_lines.empty() ? c.windows_lines : c.lines) {
            std::string text = shown(line);
            if (const std::size_t at = text.find("<root>"); at != std::string::npos)
                text.replace(at, 6, Target::get().native(tree));
            lines += text + Target::get().newline;
        }
        EXPECT_EQ(r.out, lines);
        EXPECT_EQ(r.status, c.status);
        if (c.check)
            c.check(tree);
        if (c.unprivileged)
            fs::permissions(tree / "locked", fs::perms::owner_all);  // for the clean-up
    }
}

// A coordinator's tree mixes layouts: given no layout switch, each piece is
// converted in the layout its first rows fit, and -t joins every piece's
// findings in one file.
TEST(Tabbatch, FindsEachPiecesLayoutAndJoinsAllFindingsInOneFile)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    const fs::path examples = EXAMPLES_DIR;
    fs::create_directories(dir / "1881");
    fs::create_directories(dir / "1891");
    fs::copy_file(examples / "RG110123.CSV", dir / "1881" / "RG110123.CSV");
    fs::copy_file(examples / "RG090321.CSV", dir / "1881" / "RG090321.CSV");
    fs::copy_file(examples / "RG120456.CSV", dir / "1891" / "RG120456.CSV");
    fs::copy_file(examples / "RG100789.CSV", dir / "RG100789.CSV");
    // 27 titles: no layout fits.
    std::string titles = "Civil Parish";
    for (int i = 2; i <= 27; ++i)
        titles += ",Title " + std::to_string(i);
    e2e::write_file(dir / "1891" / "RG120457.CSV", "RG12/457,,\r\n" + titles + "\r\n,,\r\n");

    const e2e::Result r = e2e::run("tabbatch", {"-t", target.native(dir.path())});
    const fs::path tsv = dir / "tabbatch-findings.tsv";
    EXPECT_EQ(r.out, e2e::lines({
                         shown("1881/RG090321.CSV") + ": status 8, 1 error, 3 warnings; layout found: " + plain_layout,
                         shown("1881/RG110123.CSV") + ": status 0, 0 errors, 0 warnings; layout found: " + plain_layout,
                         shown("1891/RG120456.CSV") +
                             ": status 8, 1 error, 6 warnings; layout found: -c (26 titles in row 2)",
                         shown("1891/RG120457.CSV") +
                             ": status 12, not converted: Fatal: row 2, File type switch does not match number of "
                             "columns in data (27); no layout fits: 27 titles in row 2 (no switch takes 25, -c 26, "
                             "-d 28 or 29), 3 cells in row 1 (-a takes 28, -a -c 29, -a -d 31)",
                         "RG100789.CSV: status 4, 0 errors, 3 warnings; layout found: -a (28 cells in row 1)",
                         "Total: 5 pieces, 1 clean, 1 with warnings only, 2 with errors, 1 not converted; 2 errors, "
                         "12 warnings",
                         "Findings file is " + target.native(tsv),
                     }));
    EXPECT_EQ(r.status, 12);
    EXPECT_TRUE(e2e::exists(dir / "1881" / "rg110123.dat"));
    EXPECT_TRUE(e2e::exists(dir / "1891" / "rg120456.val"));
    EXPECT_TRUE(e2e::exists(dir / "rg100789.dat"));

    // One header line, then every finding of every piece in the order of the
    // summary, each line naming its piece: 4 + 7 + the Fatal + 3 lines.
    const std::string findings = e2e::read_file(tsv);
    EXPECT_EQ(findings.rfind(target.text("Piece\tRow\tClass\tColumn\tValue\tMessage\n"), 0), 0u) << findings;
    std::vector<std::string> pieces;
    std::istringstream lines(findings);
    for (std::string line; std::getline(lines, line);)
        pieces.push_back(line.substr(0, line.find('\t')));
    std::vector<std::string> expected{"Piece"};
    expected.insert(expected.end(), 4, shown("1881/RG090321.CSV"));
    expected.insert(expected.end(), 7, shown("1891/RG120456.CSV"));
    expected.insert(expected.end(), 1, shown("1891/RG120457.CSV"));
    expected.insert(expected.end(), 3, "RG100789.CSV");
    EXPECT_EQ(pieces, expected);
    EXPECT_NE(findings.find(target.text(shown("1891/RG120456.CSV") +
                                        "\t12\tError\tAge\tl2\tError: row 12, age = l2 not numeric\n")),
              std::string::npos);
    EXPECT_NE(findings.find(target.text("RG100789.CSV\t7\tWarning\tCounty\tDVN\tWarning: row 7, unrecognised county "
                                        "code DVN\n")),
              std::string::npos);
}

// One piece as the argument; a layout switch given by hand is used even where
// it does not fit, and the line then says which would.
TEST(Tabbatch, ConvertsOnePieceWithTheSwitchGivenAndSaysWhichWouldFit)
{
    e2e::TempDir dir;
    copy_clean(dir / "RG110123.CSV");
    const e2e::Result r = e2e::run("tabbatch", {"-c", Target::get().native(dir / "RG110123.CSV")});
    EXPECT_EQ(r.out, e2e::lines({
                         Target::get().native(dir / "RG110123.CSV") +
                             ": status 12, not converted: Fatal: row 2, File type switch does not match number of "
                             "columns in data (25); the layout that fits: no switch (25 titles in row 2)",
                         "Total: 1 piece, 0 clean, 0 with warnings only, 0 with errors, 1 not converted; 0 errors, "
                         "0 warnings",
                     }));
    EXPECT_EQ(r.status, 12);
}

TEST(Tabbatch, EndsWithTwoWhenThereIsNothingToConvert)
{
    e2e::TempDir dir;
    e2e::write_file(dir / "readme.txt", "no pieces here\n");
    const e2e::Result empty = e2e::run("tabbatch", {Target::get().native(dir.path())});
    EXPECT_EQ(empty.status, 2);
    EXPECT_NE(empty.out.find("No .csv files found"), std::string::npos);

    EXPECT_EQ(e2e::run("tabbatch", {Target::get().native(dir / "missing")}).status, 2);
    EXPECT_EQ(e2e::run("tabbatch", {"-x", Target::get().native(dir.path())}).status, 2);
}

}  // namespace
