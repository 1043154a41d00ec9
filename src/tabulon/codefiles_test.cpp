#include "codefiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "listing_capture.h"
#include "platform.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

class CodeTablesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("codetables_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        run_.year = 1881;
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    std::string county_lines(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "County number " + std::to_string(1000 + i) + "  C" + std::to_string(10 + i % 90) + "\r\n";
        return text;
    }

    fs::path dir_;
    tabulon::Run run_;
};

TEST_F(CodeTablesTest, CountyCodesStandInColumns21To23)
{
    write("CHAP1891.TXT", "Bedfordshire        BDF extra\nCornwall            CON\n");
    ListingCapture cap;
    const CodeTables tables = load_code_tables(dir_.string(), run_, cap.listing);
    EXPECT_TRUE(tables.ccheck);
    EXPECT_EQ(cfind(tables.ccodes, "BDF"), 1);
    EXPECT_EQ(cfind(tables.ccodes, "CON"), 1);
    EXPECT_EQ(cfind(tables.ccodes, "con"), -1);
    EXPECT_EQ(cap.text(), "");
}

TEST_F(CodeTablesTest, TablesSavedAsUtf8OrUtf16GiveTheSameCodes)
{
    // A mark is skipped, and a county name's letters count one column each.
    write("CHAP1891.TXT", "\xEF\xBB\xBFYnys M\xC3\xB4n            AGY\r\nCornwall            CON\r\n");
    // "Head" and "Niece" (its first e with a grave accent) in UTF-16, low byte first.
    write("relcodes.txt", std::string("\xFF\xFEH\0e\0a\0d\0\r\0\n\0N\0i\0\xE8\0c\0e\0", 24));
    run_.rcheck = true;
    ListingCapture cap;
    const CodeTables tables = load_code_tables(dir_.string(), run_, cap.listing);
    EXPECT_EQ(tables.ccodes, (std::vector<std::string>{"AGY", "CON"}));
    EXPECT_EQ(tables.rcodes, (std::vector<std::string>{"Head", "Ni\xE8" "ce"}));
    EXPECT_EQ(cap.text(), "");
}

TEST_F(CodeTablesTest, At149CountiesTheTableIsFullAndAt150ItIsOff)
{
    write("CHAP1891.TXT", county_lines(149));
    ListingCapture full;
    EXPECT_TRUE(load_code_tables(dir_.string(), run_, full.listing).ccheck);
    EXPECT_EQ(full.text(), "");

    write("CHAP1891.TXT", county_lines(150));
    ListingCapture over;
    EXPECT_FALSE(load_code_tables(dir_.string(), run_, over.listing).ccheck);
    EXPECT_EQ(over.text(), "Warning: Too many counties in aux file, county code checking disabled\n\n");
    EXPECT_EQ(over.listing.nwarn(), 1);
}

// Short lines (a title, an empty line, a code one column early) are neither
// stored nor counted, so they neither end the table nor fill it; long lines
// count once whatever their length.
TEST_F(CodeTablesTest, ShortCountyLinesArePassedOverAndLongLinesCountOnce)
{
    const std::string long_tail(60, '.');
    write("CHAP1891.TXT", "County codes\n\nShort line          AB\nEarly              XYZ\n" +
                              county_lines(148) + "Yorkshire, West     WRY " + long_tail + "\n");
    ListingCapture cap;
    const CodeTables tables = load_code_tables(dir_.string(), run_, cap.listing);
    EXPECT_TRUE(tables.ccheck);
    EXPECT_EQ(cap.text(), "");
    EXPECT_EQ(cfind(tables.ccodes, "C10"), 1);
    EXPECT_EQ(cfind(tables.ccodes, "WRY"), 1);
    EXPECT_EQ(cfind(tables.ccodes, "XYZ"), -1);
    EXPECT_EQ(tables.ccodes.size(), 149u);

    const std::string long_relation = "Lodger and general servant to the household, of many words";
    write("relcodes.txt", "Head\n" + long_relation + "\nWife\n");
    run_.rcheck = true;
    const CodeTables rel = load_code_tables(dir_.string(), run_, cap.listing);
    EXPECT_EQ(rel.rcodes, (std::vector<std::string>{"Head", "Lodger", "Wife"}));
}

TEST_F(CodeTablesTest, MissingFilesWarnOnlyWhenAskedForAndNotQuiet)
{
    ListingCapture cap;
    load_code_tables(dir_.string(), run_, cap.listing);
    EXPECT_EQ(cap.text(), "Warning: Aux file " + dir_.string() + std::string(1, platform::dir_separator) +
                              "CHAP1891.TXT failed to open, county code checking disabled\n\n");

    write("CHAP1891.TXT", county_lines(3));
    run_.rcheck = true;
    ListingCapture rel;
    load_code_tables(dir_.string(), run_, rel.listing);
    EXPECT_FALSE(run_.rcheck);
    EXPECT_NE(rel.text().find("relcodes.txt failed to open, relationship code checking disabled\n\n"),
              std::string::npos);

    run_.rcheck = true;
    ListingCapture quiet(true);
    load_code_tables(dir_.string(), run_, quiet.listing);
    EXPECT_FALSE(run_.rcheck);
    EXPECT_EQ(quiet.text(), "");
}

TEST_F(CodeTablesTest, ADirectoryOfThatNameCountsAsMissing)
{
    fs::create_directories(dir_ / "CHAP1891.TXT");
    ListingCapture cap;
    EXPECT_FALSE(load_code_tables(dir_.string(), run_, cap.listing).ccheck);
    EXPECT_EQ(cap.listing.nwarn(), 1);
}

TEST_F(CodeTablesTest, RelationshipsAreExactAndAnEmptyLineEndsTheTable)
{
    write("CHAP1891.TXT", county_lines(1));
    write("relcodes.txt", "Head\r\nWife\nServant\n\nSon\n");
    run_.rcheck = true;
    ListingCapture cap;
    const CodeTables tables = load_code_tables(dir_.string(), run_, cap.listing);
    EXPECT_TRUE(run_.rcheck);
    EXPECT_EQ(cfind(tables.rcodes, "Head"), 1);
    EXPECT_EQ(cfind(tables.rcodes, "HEAD"), -1);
    EXPECT_EQ(cfind(tables.rcodes, "Servan"), 1);
    EXPECT_EQ(cfind(tables.rcodes, "Son"), -1);
}

// The rows look codes up through an index; it must find exactly what cfind finds.
TEST(CodeIndex, FindsWhatTheListFinds)
{
    const std::vector<std::vector<std::string>> tables = {
        {"Head", "Wife", "Servan", "", "Son"},        // an empty code ends the table
        {"SOM", "DEV", std::string("A\0B", 3), "Z"},  // a NUL inside a code
        {"Head", "Grandson"},                         // too long to pack: no index, the list is searched
        {},
    };
    const std::vector<std::string> keys = {"Head", "HEAD", "Hea", "Head ", "Servan", "Servant", "Son", "",
                                           "SOM", "som", std::string("A\0B", 3), "A", "Z", "Grandson", "Grandso"};
    for (const auto& table : tables) {
        const CodeTables::Index index = index_codes(table);
        for (const auto& key : keys)
            EXPECT_EQ(known_code(table, index, key), cfind(table, key) > 0) << key;
    }
    EXPECT_FALSE(index_codes(tables[2]).made);
}

TEST_F(CodeTablesTest, NothingIsLoadedFor1841)
{
    run_.year = 1841;
    run_.rcheck = true;
    ListingCapture cap;
    EXPECT_FALSE(load_code_tables(dir_.string(), run_, cap.listing).ccheck);
    EXPECT_TRUE(run_.rcheck);
    EXPECT_EQ(cap.text(), "");
}

}  // namespace
}  // namespace tabulon
