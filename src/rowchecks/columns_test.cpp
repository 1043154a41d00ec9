// The column table against the row intake: for every layout, record length
// and kind of census, each column of the table lands in its own field, no
// other field is read, and question marks are handled as the table says.
#include "columns.h"

#include <gtest/gtest.h>

#include <string>

#include "intake.h"
#include "listing_capture.h"

namespace rowchecks {
namespace {

struct Layout {
    bool brief;
    int rlen;
    int year;
    bool sct;
};

tabulon::Run run_of(const Layout& l)
{
    tabulon::Run run;
    run.brief = l.brief;
    run.rlen = l.rlen;
    run.year = l.year;
    run.sct = l.sct;
    return run;
}

// A letter of its own for each column.
std::string letter(std::size_t column)
{
    return std::string(1, static_cast<char>(column < 26 ? 'A' + column : 'a' + (column - 26)));
}

std::string row_text(std::size_t count, const std::string& suffix)
{
    std::string line;
    for (std::size_t i = 0; i < count; ++i)
        line += (i ? "," : "") + letter(i) + suffix;
    return line + ",Surplus";  // a column past the layout is never read
}

int count_of(const std::string& text, const std::string& part)
{
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class ColumnTable : public ::testing::TestWithParam<Layout> {};

TEST_P(ColumnTable, EachColumnLandsInItsFieldAndNoOtherFieldIsRead)
{
    const tabulon::Run run = run_of(GetParam());
    const std::vector<Column> table = columns(run);
    Row row;
    for (int f = 0; f < field_count; ++f)
        row.*field_member(static_cast<Field>(f)) = "unread";
    ListingCapture cap;
    ASSERT_TRUE(cut_fields(row_text(table.size(), ""), run, 4, row, cap.listing));

    std::vector<bool> read(field_count, false);
    for (std::size_t i = 0; i < table.size(); ++i) {
        read[static_cast<int>(table[i].field)] = true;
        EXPECT_EQ(row.*field_member(table[i].field), letter(i)) << field_title(table[i].field);
    }
    for (int f = 0; f < field_count; ++f) {
        if (!read[f] && static_cast<Field>(f) != Field::status) {
            EXPECT_EQ(row.*field_member(static_cast<Field>(f)), "unread") << field_title(static_cast<Field>(f));
        }
    }
    EXPECT_EQ(cap.text(), "");
}

TEST_P(ColumnTable, QuestionMarksAreTakenOutWhereTheTableSays)
{
    const tabulon::Run run = run_of(GetParam());
    const std::vector<Column> table = columns(run);
    Row row;
    ListingCapture cap;
    ASSERT_TRUE(cut_fields(row_text(table.size(), "x?"), run, 4, row, cap.listing));
    int plain = 0, flag = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string value = (row.*field_member(table[i].field)).str();
        if (table[i].width < 3)
            continue;  // cut short with an error; the question mark never arrives
        EXPECT_EQ(value, table[i].query == Query::none ? letter(i) + "x?" : letter(i) + "x")
            << field_title(table[i].field);
        plain += table[i].query == Query::plain;
        flag += table[i].query == Query::flag;
    }
    EXPECT_EQ(count_of(cap.text(), "removed and flag set"), flag);
    EXPECT_EQ(count_of(cap.text(), "removed.\n"), plain);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ColumnTable,
                         ::testing::Values(Layout{true, 256, 1881, false}, Layout{true, 276, 1891, false},
                                           Layout{true, 299, 1861, false}, Layout{true, 299, 1841, false},
                                           Layout{true, 299, 1841, true}, Layout{false, 256, 1881, false},
                                           Layout{false, 276, 1871, false}, Layout{false, 299, 1841, false}));

TEST(ColumnTable, ColumnCountsOfTheLayouts)
{
    auto count = [](Layout l) { return columns(run_of(l)).size(); };
    EXPECT_EQ(count({true, 256, 1881, false}), 25u);
    EXPECT_EQ(count({true, 276, 1881, false}), 26u);
    EXPECT_EQ(count({true, 299, 1881, false}), 28u);
    EXPECT_EQ(count({true, 299, 1841, false}), 29u);
    EXPECT_EQ(count({false, 256, 1881, false}), 28u);
    EXPECT_EQ(count({false, 276, 1881, false}), 29u);
    EXPECT_EQ(count({false, 299, 1881, false}), 31u);
}

}  // namespace
}  // namespace rowchecks
