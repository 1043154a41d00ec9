// The batch converter: every piece of a folder tree through tabulon, a summary
// line per piece in path order, the total, and the batch's exit status. The
// pieces are golden cases, so the counts expected are those of their listings.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>

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

std::string converted(const std::string& name, const Expected& e)
{
    return name + ": status " + std::to_string(e.status) + ", " + plural(e.errors, "error") + ", " +
           plural(e.warnings, "warning");
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

// A converter that could not even open its listing leaves whatever stood at
// the listing's path, older than the run: it is not read as this run's.
TEST(Tabbatch, WhatIsOlderThanTheRunIsNotItsListing)
{
    e2e::TempDir dir;
    fs::copy_file(golden_dir / "rg11_clean" / "RG110123.CSV", dir / "RG110123.CSV");
    // A folder where the listing should be: the converter cannot write it.
    fs::create_directory(dir / "RG110123.erc");
    fs::last_write_time(dir / "RG110123.erc", fs::file_time_type::clock::now() - std::chrono::hours(1));
    const e2e::Result r = e2e::run("tabbatch", {Target::get().native(dir.path())});
    EXPECT_EQ(r.out, e2e::lines({"RG110123.CSV: status 12, not converted, and no listing written",
                                 "Total: 1 piece, 0 clean, 0 with warnings only, 0 with errors, 1 not converted; "
                                 "0 errors, 0 warnings"}));
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
