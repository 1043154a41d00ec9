#include "record.h"

#include <gtest/gtest.h>

#include <string>

#include "listing_capture.h"

namespace record {
namespace {

rowchecks::Row person()
{
    rowchecks::Row row;
    row.status = " ";
    row.household = "7";
    row.member = "2";
    row.parish = "Merrowby";
    row.ed = "12";
    row.ed_suffix = 'a';
    row.folio = "4";
    row.page = "1";
    row.schedule = "12";
    row.schedule_suffix = '!';
    row.house = "3";
    row.address = "Church Lane";
    row.uninhabited = "-";
    row.surname = "ASHDOWN";
    row.forenames = "Thomas";
    row.name_flag = "-";
    row.relationship = "Head";
    row.condition = "M";
    row.sex = "M";
    row.age = "46";
    row.age_units = 'y';
    row.detail_flag = "-";
    row.occupation = "Miller";
    row.occupation_flag = "-";
    row.county = "SOM";
    row.birthplace = "Merrowby";
    row.birthplace_flag = "-";
    row.language = "-";
    row.notes = "DELETED";
    row.district = "St Anne";
    row.alt_county = "GLS";
    row.alt_birthplace = "Bristol";
    return row;
}

// Positions count from 1, as in the record layout.
std::string at(const std::string& rec, std::size_t from, std::size_t to)
{
    return rec.substr(from - 1, to - from + 1);
}

TEST(Record, FieldsStandAtTheirPositions)
{
    ListingCapture cap;
    const std::string rec = build_record(person(), tabulon::Format::vald_rev, 4, cap.listing);
    ASSERT_EQ(rec.size(), 299u);
    EXPECT_EQ(at(rec, 1, 5), "     ");
    EXPECT_EQ(at(rec, 6, 11), "000007");
    EXPECT_EQ(at(rec, 12, 15), "0002");
    EXPECT_EQ(at(rec, 16, 35), "Merrowby            ");
    EXPECT_EQ(at(rec, 36, 39), "12 a");
    EXPECT_EQ(at(rec, 40, 44), "4    ");
    EXPECT_EQ(at(rec, 45, 48), "1   ");
    EXPECT_EQ(at(rec, 49, 52), "12 !");
    EXPECT_EQ(at(rec, 53, 57), "3    ");
    EXPECT_EQ(at(rec, 58, 88), "Church Lane                   -");
    EXPECT_EQ(at(rec, 89, 112), "ASHDOWN                 ");
    EXPECT_EQ(at(rec, 137, 150), "-Head  MM46 y-");
    EXPECT_EQ(at(rec, 151, 181), "Miller                        -");
    EXPECT_EQ(at(rec, 182, 205), "SOMMerrowby            -");
    EXPECT_EQ(at(rec, 206, 212), "      -");
    EXPECT_EQ(at(rec, 213, 219), "DELETED");
    EXPECT_EQ(at(rec, 257, 276), "St Anne             ");
    EXPECT_EQ(at(rec, 277, 299), "GLSBristol             ");
    EXPECT_EQ(cap.text(), "");
}

TEST(Record, LengthFollowsTheFormat)
{
    ListingCapture cap;
    EXPECT_EQ(build_record(person(), tabulon::Format::in_cens, 4, cap.listing).size(), 256u);
    EXPECT_EQ(build_record(person(), tabulon::Format::check_cens, 4, cap.listing).size(), 276u);
    EXPECT_EQ(build_record(rowchecks::Row{}, tabulon::Format::in_cens, 4, cap.listing).size(), 256u);
}

TEST(Record, OverlongValuesAreHeldToTheirWidth)
{
    ListingCapture cap;
    rowchecks::Row row = person();
    row.book = "12345";
    row.schedule = "0012";
    row.age = "0012";
    row.house = "12345";
    std::string rec = build_record(row, tabulon::Format::in_cens, 4, cap.listing);
    ASSERT_EQ(rec.size(), 256u);
    EXPECT_EQ(at(rec, 2, 5), "1234");
    EXPECT_EQ(at(rec, 49, 51), "12 ");
    EXPECT_EQ(at(rec, 53, 56), "1234");
    EXPECT_EQ(at(rec, 146, 150), "12 y-");

    row.age = "1234";
    rec = build_record(row, tabulon::Format::in_cens, 4, cap.listing);
    EXPECT_EQ(at(rec, 146, 150), "999yx");
    EXPECT_EQ(cap.text(), "");
}

TEST(Record, NumbersThatDoNotFitAreNinesAndReported)
{
    ListingCapture cap;
    rowchecks::Row row = person();
    row.household = "1000000";
    row.member = "-5";
    const std::string rec = build_record(row, tabulon::Format::in_cens, 9, cap.listing);
    ASSERT_EQ(rec.size(), 256u);
    EXPECT_EQ(at(rec, 6, 15), "9999999999");
    EXPECT_EQ(cap.text(),
              "Error: row 9, household number = 1000000 too large for the output record\n"
              "Error: row 9, household member number = -5 too large for the output record\n");
    EXPECT_EQ(cap.listing.nerr(), 2);
}

}  // namespace
}  // namespace record
