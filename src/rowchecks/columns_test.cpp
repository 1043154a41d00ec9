// The row intake as the column lists make it: which flag an extraction error
// or a question mark in each column raises, layout by layout, as the flag
// groups of the row intake rules have it, on both cutting roads (a row of
// plain cells and one cut by the full rules), with the column count of each layout.
#include "columns.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <utility>

#include "intake.h"
#include "listing_capture.h"

namespace rowchecks {
namespace {

using tabulon::Format;

struct Case {
    bool brief;
    Format format;
    int year;
    bool sct;             // a Scottish piece: its 1841 layout has no book column
    std::size_t columns;  // in the layout
    // For each column: the flag that an invalid character in it raises
    // (address, name, detail, occupation, birth place), or '-' for none.
    std::string error_flags;
};

tabulon::Run run_of(const Case& c)
{
    tabulon::Run run;
    run.brief = c.brief;
    run.format = c.format;
    run.year = c.year;
    run.sct = c.sct;
    return run;
}

// The flags raised in a row, as the letters of Case::error_flags.
std::string raised(const Row& row)
{
    std::string letters;
    for (auto [flag, letter] : {std::pair{&Row::address_flag, 'a'}, {&Row::name_flag, 'n'},
                                {&Row::detail_flag, 'd'}, {&Row::occupation_flag, 'o'},
                                {&Row::birthplace_flag, 'b'}})
        if (row.*flag == "x")
            letters += letter;
    return letters.empty() ? "-" : letters;
}

// The row holding text in column `at` (from 0) and nothing else.
std::string only_in(std::size_t at, const std::string& text)
{
    return std::string(at, ',') + text;
}

class FlagGroups : public ::testing::TestWithParam<Case> {};

TEST_P(FlagGroups, AnErrorInAColumnRaisesItsGroupsFlagOnly)
{
    const tabulon::Run run = run_of(GetParam());
    const std::size_t count = columns(run).size();
    ASSERT_EQ(count, GetParam().columns);
    // An invalid character sends the row down the full rules; a cell one
    // character too long leaves it plain.
    std::string invalid, overlong;
    for (std::size_t at = 0; at < count; ++at) {
        for (auto [cell, flags] : {std::pair{std::string("\x85"), &invalid},
                                   {std::string(columns(run)[at].width + 1, 'A'), &overlong}}) {
            ListingCapture cap;
            Row row;
            cut_fields(only_in(at, cell), run, 4, row, cap.listing);
            *flags += raised(row);
            EXPECT_EQ(cap.listing.nerr(), 1) << "column " << at;
        }
    }
    EXPECT_EQ(invalid, GetParam().error_flags);
    EXPECT_EQ(overlong, GetParam().error_flags);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FlagGroups,
    ::testing::Values(Case{true, Format::in_cens, 1881, false, 25, "-----aaannndddddooobbb---"},
                      Case{true, Format::check_cens, 1891, false, 26, "------aaannndddddooobbb---"},
                      Case{true, Format::vald_rev, 1861, false, 28, "------aaannndddddooobbbbb---"},
                      Case{true, Format::vald_rev, 1841, false, 29, "------aaannndddddooobbbbb----"},
                      Case{true, Format::vald_rev, 1841, true, 28, "------aaannndddddooobbbbb---"},
                      Case{false, Format::in_cens, 1881, false, 28, "---------aaannndddddoobbb---"},
                      Case{false, Format::check_cens, 1871, false, 29, "---------aaannndddddoobbb----"},
                      Case{false, Format::vald_rev, 1841, false, 31, "---------aaannndddddoobbbbbbbbb"}));

// A question mark is taken out with the flag of its group raised (a letter),
// taken out alone (p), or left ('-'); '.' marks a column too narrow to hold it.
TEST(FlagGroups, QuestionMarksOfEveryColumn)
{
    const std::pair<Case, const char*> cases[] = {
        {{true, Format::vald_rev, 1841, false, 29, ""}, "pp-----a.nn.d..-.o..-b.-bp.--"},
        {{false, Format::vald_rev, 1841, false, 31, ""}, ".---p-----a.nn.d..-.o.-b.p.-p-b"}};
    for (const auto& [c, expected] : cases) {
        const tabulon::Run run = run_of(c);
        const std::span<const Column> layout = columns(run);
        std::string found;
        for (std::size_t at = 0; at < layout.size(); ++at) {
            ListingCapture cap;
            Row row;
            cut_fields(only_in(at, "Ab?"), run, 4, row, cap.listing);
            const std::string value = (row.*layout[at].member).str();
            found += layout[at].width < 3 ? "." : raised(row) != "-" ? raised(row) : value == "Ab" ? "p" : "-";
            EXPECT_EQ(cap.listing.nwarn(), layout[at].width >= 3 && value == "Ab" ? 1 : 0) << "column " << at;
        }
        EXPECT_EQ(found, expected) << (c.brief ? "SS-CENS" : "ALL");
    }
}

}  // namespace
}  // namespace rowchecks
