#include "census.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tabulon {
namespace {

struct Decoded {
    int status;
    std::string name;
    Run run;
    std::string listing;
};

Decoded decode(const std::string& base)
{
    Decoded d{0, base, Run{}, ""};
    std::FILE* f = std::tmpfile();
    Listing listing;
    listing.attach(f);
    d.status = decode_census(d.name, d.run, listing);
    std::rewind(f);
    for (int c = std::getc(f); c != EOF; c = std::getc(f))
        d.listing += static_cast<char>(c);
    std::fclose(f);
    return d;
}

struct NameCase {
    const char* base;
    int year;
    bool sct;
    int ipart;
    const char* normalised;
};

class GoodNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(GoodNames, GiveYearPartAndNormalisedName)
{
    const NameCase& c = GetParam();
    const Decoded d = decode(c.base);
    ASSERT_EQ(d.status, 0) << d.listing;
    EXPECT_EQ(d.run.year, c.year);
    EXPECT_EQ(d.run.sct, c.sct);
    EXPECT_EQ(d.run.ipart, c.ipart);
    EXPECT_EQ(d.name, c.normalised);
    EXPECT_EQ(d.listing, "");
}

INSTANTIATE_TEST_SUITE_P(
    FileNames, GoodNames,
    ::testing::Values(NameCase{"RG110123", 1881, false, 0, "rg110123"},
                      NameCase{"rg11123", 1881, false, 0, "rg110123"},
                      NameCase{"RG9123", 1861, false, 0, "rg090123"},
                      NameCase{"RG090045", 1861, false, 0, "rg090045"},
                      NameCase{"RS6110456", 1861, true, 1, "rs611456"},
                      NameCase{"RS6100456", 1861, true, 0, "rs610456"},
                      NameCase{"HO107123", 1841, false, 0, "ho107123"},
                      NameCase{"HO117123", 1841, false, 1, "ho117123"},
                      NameCase{"HO118123", 1841, false, 10, "ho118123"},
                      NameCase{"HO129123", 1841, false, 20, "ho129123"},
                      NameCase{"HO101234", 1841, false, 0, "ho101234"},
                      NameCase{"HO1071234", 1841, false, 0, "ho1071234"},
                      NameCase{"HO4B0123", 1841, false, 2, "ho4b0123"},
                      NameCase{"HO410123", 1841, false, 0, "ho410123"},
                      NameCase{"HS410123", 1841, true, 0, "hs410123"},
                      NameCase{"HO5A0007", 1851, false, 1, "ho5a0007"},
                      NameCase{"ho5z0007", 1851, false, 26, "ho5z0007"},
                      NameCase{"RG13", 1901, false, 0, "rg130000"},
                      NameCase{"RG10", 1871, false, 0, "rg100000"},
                      NameCase{"rs0129", 1901, true, 2, "rs012009"},
                      NameCase{"RG1212345", 1891, false, 0, "rg1212345"},
                      NameCase{"HO1", 1841, false, 0, "ho100000"}));

struct FatalCase {
    const char* base;
    const char* listing;
    const char* console_text;
};

class BadNames : public ::testing::TestWithParam<FatalCase> {};

TEST_P(BadNames, AreFatalWithTheOffendingTextInTheListing)
{
    const FatalCase& c = GetParam();
    ::testing::internal::CaptureStderr();
    const Decoded d = decode(c.base);
    const std::string console_text = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(d.status, 12);
    EXPECT_EQ(d.listing, c.listing);
    EXPECT_EQ(console_text, c.console_text);
}

INSTANTIATE_TEST_SUITE_P(
    FileNames, BadNames,
    ::testing::Values(
        FatalCase{"XY123", "Fatal: Census year cannot be determined from file name (XY123)\n",
                  "Fatal: Census year cannot be determined from file name\n"},
        FatalCase{"rg8123", "Fatal: Census year cannot be determined from file name (rg8123)\n",
                  "Fatal: Census year cannot be determined from file name\n"},
        FatalCase{"RS6050456", "Fatal: Part number in file name (05) is not valid\n",
                  "Fatal: Part number in file name is not valid\n"},
        FatalCase{"HO108123", "Fatal: Part number in file name (08) is not valid\n",
                  "Fatal: Part number in file name is not valid\n"},
        FatalCase{"HO109123", "Fatal: Part number in file name (09) is not valid\n",
                  "Fatal: Part number in file name is not valid\n"},
        FatalCase{"RS6", "Fatal: Part number in file name () is not valid\n",
                  "Fatal: Part number in file name is not valid\n"},
        FatalCase{"RS6A10456", "Fatal: Part number in file name (A1) is not numeric\n",
                  "Fatal: Part number in file name is not numeric\n"},
        FatalCase{"RG11_0123", "Fatal: Piece number in file name (_0123) is not numeric\n",
                  "Fatal: Piece number in file name is not numeric\n"},
        FatalCase{"rg11 12", "Fatal: Piece number in file name ( 12) is not numeric\n",
                  "Fatal: Piece number in file name is not numeric\n"},
        FatalCase{"RG111234567890123456",
                  "Fatal: Piece number in file name (1234567890123456) is not numeric\n",
                  "Fatal: Piece number in file name is not numeric\n"},
        FatalCase{"RG112147483648", "Fatal: Piece number in file name (2147483648) is not numeric\n",
                  "Fatal: Piece number in file name is not numeric\n"}));

TEST(Census, LargestPieceNumberIsKept)
{
    const Decoded d = decode("RG112147483647");
    EXPECT_EQ(d.status, 0);
    EXPECT_EQ(d.name, "rg112147483647");
}

TEST(Census, ScottishFlagIsClearedOnEveryCall)
{
    tabulon::Run run;
    run.sct = true;
    Listing listing;
    std::string name = "RG110001";
    ASSERT_EQ(decode_census(name, run, listing), 0);
    EXPECT_FALSE(run.sct);
}

TEST(Census, HighCharacterFiveCountsAsBelowSeven)
{
    // Codes from 128 up are negative as signed characters, so no part field.
    const Decoded d = decode("HO10\xE9");
    EXPECT_EQ(d.status, 12);
    EXPECT_EQ(d.listing, "Fatal: Piece number in file name (\xC9) is not numeric\n");
}

}  // namespace
}  // namespace tabulon
