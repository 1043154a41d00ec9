#include "schedule.h"

#include <gtest/gtest.h>

#include "test_piece.h"

namespace rowchecks {
namespace {

tabulon::Run run_of(int year, bool brief = true)
{
    tabulon::Run run;
    run.year = year;
    run.brief = brief;
    return run;
}

// A "!" adds 1000 to an all-digit schedule while the row is checked, and the
// record writes it back as three digits with the suffix "!"; before anything
// else (or alone) the "!" is a bad suffix and the schedule is not changed.
TEST(BangSchedule, AddsAThousandOnlyToADigitSchedule)
{
    struct Case {
        const char* typed;
        const char* written;
        char suffix;
        const char* messages;
    } cases[] = {
        {"12!", "12", '!', ""},
        {"1500", "500", '!', ""},
        {"999!", "999", '!', ""},
        {"ab!", "999", ' ',
         "Error: row 5, schedule number = ab not numeric\nError: row 5, schedule suffix = ! not alphabetic\n"},
        {"!", "", ' ', "Error: row 5, schedule suffix = ! not alphabetic\n"},
    };
    for (const Case& c : cases) {
        TestPiece piece(run_of(1881), true);
        piece.row(sscens_row("1", "1", "1", "0", "", "Merrowby"));
        const Row& row = piece.row(sscens_row("", "", "", c.typed));
        EXPECT_EQ(row.schedule, c.written) << c.typed;
        EXPECT_EQ(row.schedule_suffix, c.suffix) << c.typed;
        EXPECT_EQ(row.schedule_text, c.typed);
        EXPECT_EQ(piece.listing(), c.messages) << c.typed;
    }
}

// 1841 records carry no schedule, but the typed text still starts households
// and is compared with the next row's.
TEST(BangSchedule, NoScheduleIn1841Records)
{
    TestPiece piece(run_of(1841));
    piece.row(sscens_row("1", "1", "1", "7!", "", "Merrowby"));
    const Row& row = piece.row(sscens_row("", "", "", "9!"));
    EXPECT_EQ(row.schedule, "");
    EXPECT_EQ(row.schedule_suffix, ' ');
    // The sequence is checked before the schedule is dropped.
    EXPECT_EQ(piece.listing(), "Warning: row 5, schedule number = 1009 not sequential\n");
}

// A building on a row that continues a household forces a break: schedule 0,
// member 1, and the household one more (SS-CENS) or 10000 more (ALL, so that
// it cannot meet a typed number, which the next row still follows).
TEST(ForcedBreak, BuildingInsideAHousehold)
{
    TestPiece sscens(run_of(1881), true);
    sscens.row(sscens_row("1", "1", "1", "4", "", "Merrowby"));
    Row row = sscens.row(sscens_row("", "", "", "", "U"));
    EXPECT_EQ(row.household, "2");
    EXPECT_EQ(row.member, "1");
    EXPECT_EQ(row.schedule, "0");
    EXPECT_EQ(row.surname, "Uninhabited");
    row = sscens.row(sscens_row("", "", "", ""));  // the row after: its own household again
    EXPECT_EQ(row.household, "3");
    EXPECT_EQ(row.uninhabited, "x");
    EXPECT_EQ(sscens.listing(), "Error: row 6, the first record after an uninhabited building must be a new household\n");

    TestPiece all(run_of(1881, false));
    const std::string tail = ",Merrowby,1,1,1,1,1,Church Lane,";
    all.row("," + std::string(",7,1") + tail + ",Ashdown,Thomas,,Head,M,M,46,,Miller,,SOM,Merrowby,,,,");
    row = all.row("," + std::string(",7,2") + tail + "b,,,,,,,,,,,,,,,,");
    EXPECT_EQ(row.household, "10007");
    EXPECT_EQ(row.member, "1");
    row = all.row("," + std::string(",7,3") + tail + ",Ashdown,Ann,,Dau,U,F,4,,,,SOM,Merrowby,,,,");
    EXPECT_EQ(row.household, "10007");
    EXPECT_EQ(all.listing(),
              "Warning: row 1, initial household number = 7\n"
              "Warning: row 2, uninhabited flag = b but not new household\n"
              "Error: row 3, the first record after an uninhabited building must be a new household\n");
}

}  // namespace
}  // namespace rowchecks
