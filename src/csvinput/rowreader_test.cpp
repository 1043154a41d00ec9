#include "rowreader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listing_capture.h"

namespace {

using Layout = RowReader::Layout;

struct Row {
    std::string text;
    int breaks;
    bool eof;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r)
{
    return os << "{\"" << r.text << "\", " << r.breaks << ", eof " << r.eof << "}";
}

std::vector<Row> rows_of(const std::string& bytes, Layout layout = Layout::all)
{
    File f = file_with(bytes);
    LineReader lines(f.get(), LineReader::min_buffer_size);
    RowReader reader(lines, layout);
    std::vector<Row> out;
    std::string row;
    while (reader.next(row))
        out.push_back({row, reader.breaks(), reader.eof()});
    EXPECT_TRUE(reader.eof());
    return out;
}

QuoteScan scanned(const std::string& text)
{
    QuoteScan quotes;
    quotes.scan(text);
    return quotes;
}

}  // namespace

TEST(QuoteScan, FollowsTheFieldCuttersQuoteRules)
{
    const struct {
        std::string text;
        bool quoted;
        std::size_t cells;
    } cases[] = {
        {"a,b,c", false, 3},
        {"a,\"b,c", true, 2},              // opened at the start of a cell
        {"a,  \"b", true, 2},              // after the cell's blanks
        {"a,x\"b,c", false, 3},            // inside a cell a quote is a character
        {"\"say \"\"hi\"\"", true, 1},     // doubled quotes stand for one
        {"\"say \"\"hi\"\"\",x", false, 2},
        {"\"ab\"cd\"e,f", false, 2},       // after the closing quote quotes are characters
        {"\"ab\"", false, 1},
        {"\"", true, 1},
        {"", false, 1},
    };
    for (const auto& c : cases) {
        const QuoteScan quotes = scanned(c.text);
        EXPECT_EQ(quotes.quoted, c.quoted) << c.text;
        EXPECT_EQ(quotes.cells(), c.cells) << c.text;
    }
    // Line by line as over the whole: a quote that ends a line closes the
    // quoted part (the next character of the joined row is a blank).
    QuoteScan quotes = scanned("a,\"one \"\"");
    EXPECT_TRUE(quotes.quoted);
    quotes.scan("two\"");
    EXPECT_FALSE(quotes.quoted);
    quotes.scan("\",b");
    EXPECT_FALSE(quotes.quoted);
    EXPECT_EQ(quotes.cells(), 3u);
}

TEST(RowReader, CellOnSeveralLinesIsOneRowWithBlanksForTheBreaks)
{
    // CR LF, LF and a lone CR inside the cell; the next row follows at once.
    EXPECT_EQ(rows_of("a,b,c\nx,\"one\r\ntwo\nthree\rfour\",z\r\nlast,,"),
              (std::vector<Row>{{"a,b,c\n", 0, false},
                                {"x,\"one two three four\",z\n", 3, false},
                                {"last,,", 0, true}}));
}

TEST(RowReader, UnclosedQuoteLeavesTheFirstLineAlone)
{
    // Still open at the end of the input: each line is a row of its own.
    EXPECT_EQ(rows_of("a,\"b\nc,d"), (std::vector<Row>{{"a,\"b\n", 0, false}, {"c,d", 0, true}}));

    // Ten lines are the most; the quote closing on the eleventh joins nothing.
    std::string ten = "\"1\n";
    for (int i = 2; i <= 9; ++i)
        ten += std::to_string(i) + "\n";
    const std::vector<Row> joined = rows_of(ten + "10\"\n");
    ASSERT_EQ(joined.size(), 1u);
    EXPECT_EQ(joined[0], (Row{"\"1 2 3 4 5 6 7 8 9 10\"\n", 9, false}));
    const std::vector<Row> eleven = rows_of(ten + "10\n11\"\n");
    ASSERT_EQ(eleven.size(), 11u);
    EXPECT_EQ(eleven[0], (Row{"\"1\n", 0, false}));
    // The lines after it are rows again: the last opens a quote of its own.
    EXPECT_EQ(eleven[10], (Row{"11\"\n", 0, false}));
}

TEST(RowReader, JoinedRowMustHaveTheReferenceRowsCells)
{
    // ALL layout: the first non-empty row taken whole from one line is the
    // reference; before it, the quote closing is enough.
    EXPECT_EQ(rows_of("\"x\ny\",b\n\na,b\nc,\"d\ne\"\nf,\"g\nh\",i\n"),
              (std::vector<Row>{{"\"x y\",b\n", 1, false},
                                {"\n", 0, false},
                                {"a,b\n", 0, false},
                                {"c,\"d e\"\n", 1, false},
                                {"f,\"g\n", 0, false},  // three cells when joined
                                {"h\",i\n", 0, false}}));

    // SS-CENS layout: the titles row (row 2) is the reference, joined or not.
    EXPECT_EQ(rows_of("RG11,\"x\ny\"\nA,\"B\nC\"\nr3\np,\"q\nr\"\np,\"q\nr\",s\n", Layout::ss_cens),
              (std::vector<Row>{{"RG11,\"x y\"\n", 1, false},
                                {"A,\"B C\"\n", 1, false},
                                {"r3\n", 0, false},
                                {"p,\"q r\"\n", 1, false},
                                {"p,\"q\n", 0, false},
                                {"r\",s\n", 0, false}}));
}

TEST(RowReader, EndOfFileIndicatorIsThatOfTheRowsLastLine)
{
    // The look-ahead meets the end of the input; the row before it does not.
    EXPECT_EQ(rows_of("a,\"b\nc\r"), (std::vector<Row>{{"a,\"b\n", 0, false}, {"c\n", 0, true}}));
    EXPECT_EQ(rows_of("a,\"b\nc\"\r"), (std::vector<Row>{{"a,\"b c\"\n", 1, true}}));
    EXPECT_EQ(rows_of("a,\"b\nc\""), (std::vector<Row>{{"a,\"b c\"", 1, true}}));
}
