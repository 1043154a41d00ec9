#include "intake.h"

#include <gtest/gtest.h>

#include <string>

#include "listing_capture.h"
#include "store.h"

namespace rowchecks {
namespace {

tabulon::Run sscens(tabulon::Format format = tabulon::Format::in_cens, int year = 1881)
{
    tabulon::Run run;
    run.format = format;
    run.year = year;
    return run;
}

// The 25 cells of a 256-wide SS-CENS row, in column order.
std::string person_row(const std::string& schedule, const std::string& occupation = "Miller",
                       const std::string& occupation_flag = "", const std::string& notes = "")
{
    return "Merrowby,1,4,1," + schedule + ",,Church Lane,,Ashdown,Thomas,,Head,M,M,46,," + occupation +
           ",," + occupation_flag + ",SOM,Merrowby,,,," + notes;
}

Carried sscens_start()
{
    Carried c;
    c.prev_parish = "XX";
    c.prev_district = "-";
    c.prev_ed = "99";
    c.prev_folio = "9999";
    c.prev_page = "999";
    c.prev_schedule = "999";
    c.prev_address = "-";
    c.prev_uninhabited = "-";
    return c;
}

TEST(CutFields, Sscens256ColumnsLandInTheirFields)
{
    ListingCapture cap;
    Row row;
    ASSERT_TRUE(cut_fields(person_row("1"), sscens(), 4, row, cap.listing));
    EXPECT_EQ(row.parish, "Merrowby");
    EXPECT_EQ(row.ed, "1");
    EXPECT_EQ(row.schedule, "1");
    EXPECT_EQ(row.address, "Church Lane");
    EXPECT_EQ(row.surname, "Ashdown");
    EXPECT_EQ(row.age, "46");
    EXPECT_EQ(row.occupation, "Miller");
    EXPECT_EQ(row.county, "SOM");
    EXPECT_EQ(row.birthplace, "Merrowby");
    EXPECT_EQ(row.status, " ");
    EXPECT_EQ(cap.text(), "");
}

TEST(CutFields, AllLayoutReadsItsOwnNumbersAndTrailingColumns)
{
    ListingCapture cap;
    tabulon::Run run = sscens(tabulon::Format::vald_rev);
    run.brief = false;
    Row row;
    const std::string line = "Z,12,7,2,Merrowby,1,4,1,1,,Lane,,Ashdown,Ann,,Wife,M,F,40,,,,SOM,Merrowby,,,,"
                             "note,St Anne,GLS,Bristol";
    ASSERT_TRUE(cut_fields(line, run, 1, row, cap.listing));
    EXPECT_EQ(row.status, "Z");
    EXPECT_EQ(row.book, "12");
    EXPECT_EQ(row.household, "7");
    EXPECT_EQ(row.member, "2");
    EXPECT_EQ(row.notes, "note");
    EXPECT_EQ(row.district, "St Anne");
    EXPECT_EQ(row.alt_county, "GLS");
    EXPECT_EQ(row.alt_birthplace, "Bristol");
    settle_status(row);
    EXPECT_EQ(row.status, " ");
}

TEST(CutFields, CommasOnlyIsBlankButALoneSlashIsNot)
{
    ListingCapture cap;
    Row row;
    EXPECT_FALSE(cut_fields(",,,,,,,,", sscens(), 5, row, cap.listing));
    EXPECT_TRUE(cut_fields(",,/", sscens(), 6, row, cap.listing));
    EXPECT_EQ(row.folio, "-");
}

TEST(FillDown, SchedulesStartHouseholdsAndMembersCount)
{
    ListingCapture cap;
    const tabulon::Run run = sscens();
    Carried carried = sscens_start();
    Row row;
    const char* schedules[] = {"1", "2", "", "", ""};
    const char* expected[][2] = {{"1", "1"}, {"2", "1"}, {"2", "2"}, {"2", "3"}, {"2", "4"}};
    int n = 4;
    for (int i = 0; i < 5; ++i, ++n) {
        ASSERT_TRUE(cut_fields(person_row(schedules[i]), run, n, row, cap.listing));
        fill_down(run, carried, n, row, cap.listing);
        store_carried(run, row, carried);
        EXPECT_EQ(row.household, expected[i][0]) << "row " << n;
        EXPECT_EQ(row.member, expected[i][1]) << "row " << n;
        EXPECT_EQ(row.new_household, *schedules[i] != '\0');
    }
}

TEST(FillDown, EmptyLocationTakesThePreviousRowsTexts)
{
    ListingCapture cap;
    const tabulon::Run run = sscens(tabulon::Format::check_cens);
    Carried carried = sscens_start();
    Row row;
    ASSERT_TRUE(cut_fields(",,,,,,,,,Smith", run, 4, row, cap.listing));
    fill_down(run, carried, 4, row, cap.listing);
    EXPECT_EQ(row.parish, "XX");
    EXPECT_EQ(row.district, "-");
    EXPECT_EQ(row.ed, "99");
    EXPECT_EQ(row.folio, "9999");
    EXPECT_EQ(row.page, "999");
    EXPECT_EQ(row.schedule, "999");
    EXPECT_EQ(row.uninhabited, "-");
}

TEST(FillDown, BuildingCodeIsNotInherited)
{
    ListingCapture cap;
    const tabulon::Run run = sscens();
    for (const char* code : {"u", "B", "n", "v"}) {
        Carried carried = sscens_start();
        carried.prev_uninhabited = code;
        Row row;
        ASSERT_TRUE(cut_fields(person_row(""), run, 5, row, cap.listing));
        fill_down(run, carried, 5, row, cap.listing);
        EXPECT_EQ(row.uninhabited, "") << code;
    }
    Carried carried = sscens_start();
    carried.prev_uninhabited = "x";
    Row row;
    ASSERT_TRUE(cut_fields(person_row(""), run, 5, row, cap.listing));
    fill_down(run, carried, 5, row, cap.listing);
    EXPECT_EQ(row.uninhabited, "x");
}

TEST(FillDown, OnlyTheExactWordDeletedMarksARow)
{
    const tabulon::Run run = sscens();
    for (const char* notes : {"DELETED", "deleted", "DELETED twice"}) {
        ListingCapture cap;
        Carried carried = sscens_start();
        Row row;
        ASSERT_TRUE(cut_fields(person_row("1", "Miller", "", notes), run, 7, row, cap.listing));
        fill_down(run, carried, 7, row, cap.listing);
        const bool deleted = std::string(notes) == "DELETED";
        EXPECT_EQ(row.status, deleted ? "D" : " ") << notes;
        EXPECT_EQ(cap.text(), deleted ? "Warning: row 7, is marked DELETED\n" : "") << notes;
    }
}

TEST(FoldSchedule, SchedulesOfFourDigitsFoldIntoThree)
{
    struct Case {
        const char* schedule;
        const char* written;
        char suffix;
        const char* listing;
    } cases[] = {{"1012", "12", '!', ""},
                 {"1999", "999", '!', ""},
                 {"2000", "999", ' ', "Error: row 9, schedule > 1999, \n"},
                 {"0012", "0012", ' ', ""},
                 {"999", "999", ' ', ""}};
    for (const auto& c : cases) {
        ListingCapture cap;
        Row row;
        row.schedule = c.schedule;
        fold_schedule(9, row, cap.listing);
        EXPECT_EQ(row.schedule, c.written) << c.schedule;
        EXPECT_EQ(row.schedule_suffix, c.suffix) << c.schedule;
        EXPECT_EQ(cap.text(), c.listing);
    }
}

TEST(StoreCarried, AllLayoutRunsOnFromTheTypedNumbers)
{
    tabulon::Run run = sscens();
    run.brief = false;
    Carried carried;
    Row row;
    row.household = "10012";  // renumbered by a forced break
    row.member = "1";
    row.household_cell = "12";
    row.member_cell = "3";
    store_carried(run, row, carried);
    EXPECT_EQ(carried.prev_household, "12");
    EXPECT_EQ(carried.prev_member, "3");
    run.brief = true;
    store_carried(run, row, carried);
    EXPECT_EQ(carried.prev_household, "10012");
    EXPECT_EQ(carried.prev_member, "1");
}

}  // namespace
}  // namespace rowchecks
