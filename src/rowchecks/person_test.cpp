// The hard decisions of the person checks, one row at a time: how an age cell
// splits into number and units, when the employed status fits, the county
// code UNK against a table, and the one flag that only a verbose run sets.
#include <gtest/gtest.h>

#include <string>

#include "birthplace.h"
#include "listing_capture.h"
#include "occupation.h"
#include "sexage.h"

namespace rowchecks {
namespace {

tabulon::Run run_for(int year)
{
    tabulon::Run run;
    run.year = year;
    return run;
}

// A context for row 9 of a piece with the given run and tables.
struct Context {
    explicit Context(const tabulon::Run& r, tabulon::CodeTables t = {}) : run(r), tables(std::move(t)) {}
    RowContext get() const { return RowContext{run, tables, carried, 9, 4}; }

    tabulon::Run run;
    tabulon::CodeTables tables;
    Carried carried;
};

Row person_with_age(const std::string& age, const std::string& condition = "S")
{
    Row row;
    row.sex = "M";
    row.condition = condition;
    row.age = age;
    row.detail_flag = "-";
    return row;
}

struct AgeCase {
    const char* cell;
    const char* age;
    char units;
    const char* detail_flag;
    const char* listing;
};

TEST(SexAge, TheAgeCellSplitsIntoNumberAndUnits)
{
    const AgeCase cases[] = {
        {"45", "45", 'y', "-", ""},
        {"3 M", "3", 'm', "-", ""},
        {"0m", "0", 'm', "x", "Warning: row 9, zero age\n"},
        {"999", "999", 'y', "x", ""},
        {"999m", "999", 'y', "x", ""},  // 999 always stands for years
        {"120", "120", 'y', "-", ""},
        {"24m", "24", 'm', "-", ""},
        {"12x", "12", 'x', "x", "Warning: row 9, age units = x invalid value\n"},
        // b is split off as the units; what is left is not a number.
        {"ab", "999", 'y', "x", "Error: row 9, age = a not numeric\n"},
        {"-", "999", 'y', "x", "Warning: row 9, age missing\n"},
    };
    for (const AgeCase& c : cases) {
        SCOPED_TRACE(c.cell);
        ListingCapture cap;
        Context ctx(run_for(1881));
        Row row = person_with_age(c.cell);
        check_sex_age(ctx.get(), row, cap.listing);
        EXPECT_EQ(row.age, c.age);
        EXPECT_EQ(row.age_units, c.units);
        EXPECT_EQ(row.detail_flag, c.detail_flag);
        EXPECT_EQ(cap.text(), c.listing);
    }
}

TEST(SexAge, MarriedUnder14CountsOnlyWholeYearsAndOnlyAfter1841)
{
    for (const char* age : {"13", "6m", "3w"}) {
        SCOPED_TRACE(age);
        ListingCapture cap;
        Context ctx(run_for(1851));
        Row row = person_with_age(age, "W");
        check_sex_age(ctx.get(), row, cap.listing);
        EXPECT_EQ(cap.text(), "Warning: row 9, married/widowed person age under 14y\n");
        EXPECT_EQ(row.detail_flag, "x");
    }
    for (const auto& [year, age] : {std::pair{1851, "14"}, {1851, ""}, {1841, "13"}}) {
        SCOPED_TRACE(age);
        ListingCapture cap(true);
        Context ctx(run_for(year));
        Row row = person_with_age(age, "M");
        check_sex_age(ctx.get(), row, cap.listing);
        EXPECT_EQ(cap.text(), "");
    }
}

TEST(Occupation, TheEmployedStatusNeedsSevenCharactersOfRoom)
{
    const std::string fits(23, 'a');
    ListingCapture cap;
    Context ctx(run_for(1891));
    Row row;
    row.occupation = fits;
    row.employed = "e";
    check_occupation(ctx.get(), row, cap.listing);
    EXPECT_EQ(row.occupation, "A" + fits.substr(1) + "(Em'ee)");
    EXPECT_EQ(row.occupation.size(), 30u);
    EXPECT_EQ(row.occupation_flag, "-");

    // Too long to take a status: the room is tested before the status
    // letter, so an unknown letter draws the same Error.
    for (const char* status : {"R", "Q"}) {
        ListingCapture long_cap;
        Row longer;
        longer.occupation = fits + "a";
        longer.employed = status;
        check_occupation(ctx.get(), longer, long_cap.listing);
        EXPECT_EQ(longer.occupation, "A" + fits);
        EXPECT_EQ(longer.occupation_flag, "x");
        EXPECT_EQ(long_cap.text(), "Error: row 9, no room for employed status in occupation field\n");
    }
}

TEST(Birthplace, AMissingCountyBecomesUnkAndIsLookedUpLikeAnyCode)
{
    tabulon::CodeTables tables;
    tables.ccodes = {"SOM", "DEV"};
    tables.ccheck = true;
    Context ctx(run_for(1881), tables);
    ListingCapture cap;
    Row row;
    row.birthplace = "Taunton";
    check_birthplace(ctx.get(), row, cap.listing);
    EXPECT_EQ(row.county, "UNK");
    EXPECT_EQ(row.birthplace_flag, "x");
    EXPECT_EQ(cap.text(), "Warning: row 9, county code missing\nWarning: row 9, unrecognised county code UNK\n");

    // Quiet: nothing written, the same changes made.
    ListingCapture quiet(true);
    Row same;
    same.county = "som";
    same.birthplace_flag = "";
    check_birthplace(ctx.get(), same, quiet.listing);
    EXPECT_EQ(same.county, "SOM");
    same.county = "xx";
    check_birthplace(ctx.get(), same, quiet.listing);
    EXPECT_EQ(same.birthplace_flag, "x");
    EXPECT_EQ(quiet.text(), "");
}

// The one change made only when its message is written: a missing birth place
// raises the birth place flag in a verbose run and not otherwise.
TEST(Birthplace, AMissingBirthPlaceIsFlaggedOnlyInAVerboseRun)
{
    Context ctx(run_for(1881));
    for (const bool verbose : {false, true}) {
        SCOPED_TRACE(verbose);
        ListingCapture cap(false, verbose);
        Row row;
        row.county = "SOM";
        check_birthplace(ctx.get(), row, cap.listing);
        EXPECT_EQ(row.birthplace, "-");
        EXPECT_EQ(row.birthplace_flag, verbose ? "x" : "-");
        EXPECT_EQ(cap.text(), verbose ? "Info: row 9, birth place missing\n" : "");
    }
}

}  // namespace
}  // namespace rowchecks
