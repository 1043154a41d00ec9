#include "extract.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "listing_capture.h"
#include "plainrow.h"
#include "simd16.h"

namespace {

const ExtractContext data_row{7, false};
const ExtractContext header_row{2, true};

// Cuts a whole row with one width for every field.
struct Cut {
    std::vector<std::string> fields;
    ExtractFlags flags;
    std::string messages;
    int nerr;
};

Cut cut(const std::string& line, int count, std::size_t width = 30, const ExtractContext& ctx = data_row)
{
    ListingCapture capture;
    Cut out{};
    std::size_t pos = 0;
    for (int i = 0; i < count; ++i)
        out.fields.push_back(extract(line, pos, width, ctx, out.flags, capture.listing));
    out.messages = capture.text();
    out.nerr = capture.listing.nerr();
    return out;
}

std::string invalid_message(char byte)
{
    return std::string("Error: row 7, field contains an invalid character <") + byte + ">\n";
}

}  // namespace

// --- splitting and position ---

TEST(ExtractSplit, CommaSeparatedThenEmptyWithPositionOnTheEnd)
{
    ListingCapture capture;
    ExtractFlags flags;
    const std::string line = "a,b";
    std::size_t pos = 0;
    EXPECT_EQ(extract(line, pos, 30, data_row, flags, capture.listing), "a");
    EXPECT_EQ(pos, 2u);
    EXPECT_EQ(extract(line, pos, 30, data_row, flags, capture.listing), "b");
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(extract(line, pos, 30, data_row, flags, capture.listing), "");
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(extract(line, pos, 30, data_row, flags, capture.listing), "");
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(capture.text(), "");
}

TEST(ExtractSplit, EmptyCellsBetweenCommas)
{
    const Cut c = cut(",,x,", 5);
    EXPECT_EQ(c.fields, (std::vector<std::string>{"", "", "x", "", ""}));
    EXPECT_TRUE(c.flags.extract_content);
}

TEST(ExtractSplit, PositionPastTheEndReadsAsEnd)
{
    ListingCapture capture;
    ExtractFlags flags;
    std::size_t pos = 99;
    EXPECT_EQ(extract("abc", pos, 30, data_row, flags, capture.listing), "");
    EXPECT_EQ(pos, 3u);
}

// --- quotes ---

TEST(ExtractQuotes, CommaInsideQuotesIsData)
{
    const Cut c = cut("  \"Smith, John\"  ,x", 2);
    EXPECT_EQ(c.fields, (std::vector<std::string>{"Smith, John", "x"}));
    EXPECT_EQ(c.messages, "");
}

TEST(ExtractQuotes, EmptyQuotedFieldHasNoContent)
{
    const Cut c = cut("\"\",", 2);
    EXPECT_EQ(c.fields, (std::vector<std::string>{"", ""}));
    EXPECT_FALSE(c.flags.extract_content);
    EXPECT_FALSE(c.flags.extract_err);
}

TEST(ExtractQuotes, OpenQuoteAtTheEndIsAnIncompleteField)
{
    const Cut c = cut("a,\"Smith, Jo", 3);
    EXPECT_EQ(c.fields, (std::vector<std::string>{"a", "Smith, Jo", ""}));
    EXPECT_EQ(c.messages, "Error: row 7, ends with incomplete field\n");
    EXPECT_EQ(c.nerr, 1);
    EXPECT_TRUE(c.flags.extract_err);
}

TEST(ExtractQuotes, LoneQuoteIsAnIncompleteEmptyField)
{
    const Cut c = cut("\"", 1);
    EXPECT_EQ(c.fields[0], "");
    EXPECT_EQ(c.messages, "Error: row 7, ends with incomplete field\n");
    EXPECT_FALSE(c.flags.extract_content);
}

TEST(ExtractQuotes, IncompleteFieldIsReportedOnHeaderRowsToo)
{
    const Cut c = cut("\"abc", 1, 30, header_row);
    EXPECT_EQ(c.messages, "Error: row 2, ends with incomplete field\n");
    EXPECT_EQ(c.nerr, 1);
}

// --- cleaning ---

TEST(ExtractClean, QuotesBlanksBackslashesAndTheLoneSlash)
{
    struct Case {
        std::string cell, field;
    };
    const Case cases[] = {
        {"\"say \"\"hi\"\"\"", "say \"hi\""},  // doubled quotes become one
        {"\"ab\"cd", "abcd"},                  // text after the closing quote is appended
        {"ab\"c", "ab\"c"},                    // a quote inside an unquoted field is data
        {"\"   x  y \"", "x y"},               // leading blanks inside quotes go
        {"\\\\123", "123"},                     // all leading backslashes go
        {"12\\3", "12\\3"},                     // a later one stays
        {"\\ \\ x", "x"},
        {"a    b   ", "a b"},                  // runs collapse, trailing blanks go
        {"   ", ""},
        {"/", "-"},
        {"  /  ", "-"},
        {"\"/\"", "-"},
        {"//", "//"},
    };
    for (const Case& c : cases) {
        const Cut got = cut(c.cell + ",next", 2);
        EXPECT_EQ(got.fields, (std::vector<std::string>{c.field, "next"})) << "cell <" << c.cell << ">";
        EXPECT_EQ(got.messages, "") << "cell <" << c.cell << ">";
    }
}

TEST(ExtractClean, OnlyTheBlankCharacterIsABlank)
{
    // A tab is neither skipped nor collapsed: it is an invalid character.
    const Cut c = cut("\ta\t\tb", 1);
    EXPECT_EQ(c.fields[0], "\ta\t\tb");
    EXPECT_EQ(c.nerr, 3);
}

TEST(ExtractClean, SlashFromACutFieldBecomesHyphen)
{
    const Cut c = cut("/x", 1, 1);
    EXPECT_EQ(c.fields[0], "-");
    EXPECT_EQ(c.nerr, 1);
}

// --- width ---

TEST(ExtractWidth, ExactlyWidthIsAccepted)
{
    const Cut c = cut(std::string(30, 'a'), 1);
    EXPECT_EQ(c.fields[0], std::string(30, 'a'));
    EXPECT_EQ(c.messages, "");
    EXPECT_FALSE(c.flags.extract_err);
}

TEST(ExtractWidth, OverLongFieldIsReportedWholeAndCut)
{
    const std::string address = "12 Long Lane, Upper Merrowby X";  // 30 characters
    const std::string cell = address + "Z";
    const Cut c = cut("\"" + cell + "\",next", 2);
    EXPECT_EQ(c.fields, (std::vector<std::string>{address, "next"}));
    EXPECT_EQ(c.messages, "Error: row 7, field too long <" + cell +
                              ">, truncated by 1 to 30 characters in the output file\n");
    EXPECT_EQ(c.nerr, 1);
    EXPECT_TRUE(c.flags.extract_err);
}

TEST(ExtractWidth, LengthIsTakenAfterCleaning)
{
    // Leading blanks, collapsed runs and trailing blanks do not count.
    const Cut c = cut("   ab    cd    ", 1, 5);
    EXPECT_EQ(c.fields[0], "ab cd");
    EXPECT_EQ(c.messages, "");
}

TEST(ExtractWidth, WholeLineFieldReportsTheFullLength)
{
    const std::string cell(1023, 'w');
    const Cut c = cut(cell, 1, 44);
    EXPECT_EQ(c.fields[0], std::string(44, 'w'));
    EXPECT_EQ(c.messages, "Error: row 7, field too long <" + cell +
                              ">, truncated by 979 to 44 characters in the output file\n");
}

TEST(ExtractWidth, CutMayLeaveATrailingBlank)
{
    EXPECT_EQ(cut("ab cd", 1, 3).fields[0], "ab ");
}

// --- invalid characters ---

TEST(ExtractInvalid, UpperControlIsReportedAndKept)
{
    const Cut c = cut("Caf\x85,x", 2);
    EXPECT_EQ(c.fields, (std::vector<std::string>{"Caf\x85", "x"}));
    EXPECT_EQ(c.messages, "Error: row 7, field contains an invalid character <\x85>\n");
    EXPECT_EQ(c.nerr, 1);
    EXPECT_TRUE(c.flags.extract_err);
}

TEST(ExtractInvalid, EachInvalidCharacterIsReported)
{
    const Cut c = cut("\xA3\xD7", 1);
    EXPECT_EQ(c.messages,
              "Error: row 7, field contains an invalid character <\xA3>\n"
              "Error: row 7, field contains an invalid character <\xD7>\n");
    EXPECT_EQ(c.nerr, 2);
}

TEST(ExtractInvalid, AccentedLettersAreValid)
{
    const Cut c = cut("Ren\xE9\xFF\xDF", 1);
    EXPECT_EQ(c.fields[0], "Ren\xE9\xFF\xDF");
    EXPECT_EQ(c.messages, "");
    EXPECT_FALSE(c.flags.extract_err);
}

TEST(ExtractInvalid, HeaderRowsAreNotReportedButMarked)
{
    const Cut c = cut("Caf\x85", 1, 30, header_row);
    EXPECT_EQ(c.fields[0], "Caf\x85");
    EXPECT_EQ(c.messages, "");
    EXPECT_EQ(c.nerr, 0);
    EXPECT_TRUE(c.flags.extract_err);
}

TEST(ExtractInvalid, OverLongHeaderCellIsStillReported)
{
    const Cut c = cut("abcdef", 1, 4, header_row);
    EXPECT_EQ(c.messages, "Error: row 2, field too long <abcdef>, truncated by 2 to 4 characters in the output file\n");
    EXPECT_EQ(c.nerr, 1);
}

TEST(ExtractInvalid, NulByteIsAnOrdinaryInvalidCharacter)
{
    const std::string line("a\0b,c", 5);
    const Cut c = cut(line, 2);
    EXPECT_EQ(c.fields, (std::vector<std::string>{std::string("a\0b", 3), "c"}));
    EXPECT_EQ(c.messages, invalid_message('\0'));
    EXPECT_EQ(c.nerr, 1);
}

TEST(ExtractInvalid, NulBytesInAnOverLongFieldAreWrittenWhole)
{
    const std::string cell("ab\0\0cd", 6);
    const Cut c = cut(cell, 1, 3);
    EXPECT_EQ(c.fields[0], std::string("ab\0", 3));
    const std::string nul_message = invalid_message('\0');
    EXPECT_EQ(c.messages, nul_message + nul_message + "Error: row 7, field too long <" + cell +
                              ">, truncated by 3 to 3 characters in the output file\n");
    EXPECT_EQ(c.nerr, 3);
}

TEST(ExtractInvalid, QuietDoesNotSilenceErrors)
{
    ListingCapture capture(true, false);
    ExtractFlags flags;
    std::size_t pos = 0;
    extract("\"x\x85", pos, 30, data_row, flags, capture.listing);
    EXPECT_EQ(capture.listing.nerr(), 2);
    EXPECT_EQ(capture.text(),
              "Error: row 7, field contains an invalid character <\x85>\n"
              "Error: row 7, ends with incomplete field\n");
}

// --- flags ---

TEST(ExtractMarks, NeverCleared)
{
    ListingCapture capture;
    ExtractFlags flags;
    std::size_t pos = 0;
    const std::string line = "\x85x,,";
    extract(line, pos, 30, data_row, flags, capture.listing);
    EXPECT_TRUE(flags.extract_err);
    EXPECT_TRUE(flags.extract_content);
    EXPECT_EQ(extract(line, pos, 30, data_row, flags, capture.listing), "");
    EXPECT_EQ(extract(line, pos, 30, data_row, flags, capture.listing), "");
    EXPECT_TRUE(flags.extract_err);
    EXPECT_TRUE(flags.extract_content);
}

TEST(ExtractMarks, BlankRowHasNoContent)
{
    const Cut c = cut("  , ,\"\",  \"  \"", 6);
    EXPECT_FALSE(c.flags.extract_content);
    EXPECT_FALSE(c.flags.extract_err);
    EXPECT_EQ(c.messages, "");
}

// A plain row is cut at its commas without the full rules: each of its cells
// must be exactly what the full rules give, with nothing to report.
TEST(PlainRow, CellsAreWhatTheFullRulesGive)
{
    const std::string bytes = "ab ,,\"\\?/\x81\xE9\t";
    std::mt19937 random(3);
    int plain = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string line(i % 100 == 0 ? 440 + random() % 20 : random() % 100, 'a');
        for (char& c : line)
            c = random() % 3 ? "ab,"[random() % 3] : bytes[random() % bytes.size()];
        const PlainRow row(line);
        if (!row.plain())
            continue;
        ++plain;
        ListingCapture capture;
        ExtractFlags flags;
        std::size_t pos = 0;
        const auto cells = static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 3;
        bool any_text = false;
        for (std::size_t cell = 0; cell < std::min(cells, PlainRow::most_cells); ++cell) {
            const std::string full = extract(line, pos, line.size() + 1, data_row, flags, capture.listing);
            const std::string plain_cell = line.substr(row.start(cell), row.length(cell));
            any_text = any_text || !plain_cell.empty();
            ASSERT_EQ(row.any_text(cell + 1), any_text) << "cells up to " << cell << " of <" << line << ">";
            if (plain_cell == "/")
                continue;  // a lone "/" is left to the full rules by the row's cutter
            ASSERT_EQ(plain_cell, full) << "cell " << cell << " of <" << line << ">";
        }
        ASSERT_FALSE(flags.extract_err) << line;
        ASSERT_EQ(capture.text(), "") << line;
    }
    if (simd16::enabled) {
        EXPECT_GT(plain, 1000);
    }
}

TEST(PlainRow, WhichRowsArePlain)
{
    if (!simd16::enabled)
        GTEST_SKIP() << "without the fast roads every row is cut cell by cell";
    const std::string typical = "Ashcombe,1,5,1,,84,Quay Street,,Clatworthy,James Henry,,Head,M,M,41,,Farmer,,,GLS,Bristol,,,,";
    EXPECT_TRUE(PlainRow(typical).plain());
    EXPECT_TRUE(PlainRow("").plain());
    EXPECT_TRUE(PlainRow(",,,").plain());
    // Blanks either side of the sixteen-byte steps of the scan.
    EXPECT_TRUE(PlainRow("abcdefghijklmno p,q").plain());
    EXPECT_TRUE(PlainRow("abcdefghijklmnop q").plain());
    EXPECT_FALSE(PlainRow("abcdefghijklmno ,q").plain());
    EXPECT_FALSE(PlainRow("abcdefghijklmno  q").plain());
    EXPECT_FALSE(PlainRow("abcdefghijklmno ").plain());
    EXPECT_TRUE(PlainRow(std::string(PlainRow::longest, 'a')).plain());
    EXPECT_FALSE(PlainRow(std::string(PlainRow::longest + 1, 'a')).plain());
    for (const char* line : {"a, b", "a ,b", "a  b", "a\"b", "a\\b", "a\tb", "a\x81" "b", "a\xD7" "b", "a\xF7" "b", "a "})
        EXPECT_FALSE(PlainRow(line).plain()) << line;
    EXPECT_TRUE(PlainRow("\xC0\xDF\xFF?/").plain());
}
