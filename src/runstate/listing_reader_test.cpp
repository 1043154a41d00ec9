// Reading listings back: every class of finding, rows and run-level findings,
// both layouts, Fatal ends, lines the catalogue does not know, names with line
// breaks, and the console's Fatal lines.
#include "listing_reader.h"

#include <gtest/gtest.h>

namespace {

using msg::Severity;

std::string_view format_of(const ListingFinding& f)
{
    return f.message ? std::string_view(f.message->text) : std::string_view("(none)");
}

TEST(ListingReader, SscensListingWithEveryClass)
{
    const ListingSummary l = read_listing(
        "Warning: Aux file ./CHAP1891.TXT failed to open, county code checking disabled\r\n\r\n"
        "Error listing for tabulon (Merrowby) v4.11.2 Thu Dec  7 12:00:00 2026 UTC converting C:\\census\\RG110123.CSV\r\n"
        "[When reporting program errors, be sure to send this file and the original data file]\r\n\r\n"
        "Census year = 1881, input format = SS-CENS, output format = CHECK-CENS, VERBOSE\r\n\r\n"
        "Subtract 3 from row numbers in messages to get the corresponding record in the output file.\r\n\r\n"
        "Error: row 4, initial civil parish name not set\r\n"
        "Warning: row 7 blank, ignored\r\n"
        "Info: row 8, address missing\r\n"
        "Warning: row 11, page number = 4 not sequential\r\n"
        "Error: row 12, field too long <Error: row 1, x>, truncated by 3 to 30 characters in the output file\r\n"
        "\r\nOutput 9 records, highest household number = 6\r\n\r\nOutput file is C:\\census\\rg110123.val\r\n");
    EXPECT_TRUE(l.has_header);
    EXPECT_EQ(l.converting, "C:\\census\\RG110123.CSV");
    EXPECT_EQ(l.year, 1881);
    EXPECT_EQ(l.input_format, "SS-CENS");
    EXPECT_EQ(l.output_format, "CHECK-CENS");
    EXPECT_EQ(l.mode, "VERBOSE");
    EXPECT_EQ(l.records_line, "Output 9 records, highest household number = 6");
    EXPECT_EQ(l.output_file, "C:\\census\\rg110123.val");
    EXPECT_TRUE(l.fatal.empty());
    EXPECT_EQ(l.errors, 2);
    EXPECT_EQ(l.warnings, 3);
    EXPECT_EQ(l.infos, 1);
    ASSERT_EQ(l.findings.size(), 6u);
    const int rows[] = {0, 4, 7, 8, 11, 12};
    const Severity classes[] = {Severity::warning, Severity::error, Severity::warning,
                                Severity::info, Severity::warning, Severity::error};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(l.findings[i].row, rows[i]) << l.findings[i].line;
        EXPECT_EQ(l.findings[i].severity, classes[i]) << l.findings[i].line;
        EXPECT_NE(l.findings[i].message, nullptr) << l.findings[i].line;
    }
    EXPECT_EQ(format_of(l.findings[4]), "Warning: row %d, page number = %s not sequential\n");
    EXPECT_EQ(l.findings[4].line, "Warning: row 11, page number = 4 not sequential");
}

TEST(ListingReader, AllLayoutListingAndUnknownLines)
{
    const ListingSummary l = read_listing(
        "Error listing for tabulon (Merrowby) v4.11.2  converting RG100789.CSV\n"
        "Census year = 1871, input format = ALL, output format = IN-CENS, QUIET\n\n"
        "Error: row 1, household number = 0 not valid\n"
        "Error: row 2, a message of a later version\n"
        "Error: row 3x, no row number here\n");
    EXPECT_EQ(l.converting, "RG100789.CSV");
    EXPECT_EQ(l.input_format, "ALL");
    EXPECT_EQ(l.output_format, "IN-CENS");
    EXPECT_EQ(l.mode, "QUIET");
    ASSERT_EQ(l.findings.size(), 3u);
    EXPECT_EQ(format_of(l.findings[0]), "Error: row %d, household number = 0 not valid\n");
    EXPECT_EQ(l.findings[1].row, 2);
    EXPECT_EQ(l.findings[1].message, nullptr);
    EXPECT_EQ(l.findings[2].row, 0);
    EXPECT_EQ(l.errors, 3);
    EXPECT_TRUE(l.records_line.empty());  // no summary: the run did not finish
}

TEST(ListingReader, FatalListingsKeepTheFatalAndItsContinuation)
{
    const ListingSummary header_fatal = read_listing(
        "Warning: Cell A1 doesn't contain a valid piece number\n\n"
        "Fatal: row 2, File type switch does not match number of columns in data (25)\n"
        "\tall the titles in row 2 must be non-blank\n");
    EXPECT_FALSE(header_fatal.has_header);
    ASSERT_EQ(header_fatal.fatal.size(), 2u);
    EXPECT_EQ(header_fatal.fatal[1], "\tall the titles in row 2 must be non-blank");
    EXPECT_EQ(header_fatal.warnings, 1);

    const ListingSummary name_fatal = read_listing("Fatal: File must be a .csv (comma separated values)\n");
    EXPECT_EQ(name_fatal.fatal, std::vector<std::string>{"Fatal: File must be a .csv (comma separated values)"});
    EXPECT_TRUE(name_fatal.findings.empty());
}

TEST(ListingReader, NulBytesAndALastLineWithoutItsEnd)
{
    const std::string text = std::string("Error: row 5, field contains an invalid character <") + '\0' + ">";
    const ListingSummary l = read_listing(text);
    ASSERT_EQ(l.findings.size(), 1u);
    EXPECT_EQ(l.findings[0].line, text);
    EXPECT_EQ(format_of(l.findings[0]), "Error: row %d, field contains an invalid character <%c>\n");
}

std::string with_crlf(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

TEST(ListingReader, OnlyAFinishedListingIsBelieved)
{
    const std::string header =
        "Error listing for tabulon (Merrowby) v4.11.2 Thu Dec  7 12:00:00 2026 UTC converting RG110123.CSV\n"
        "[When reporting program errors, be sure to send this file and the original data file]\n\n"
        "Census year = 1881, input format = SS-CENS, output format = IN-CENS\n\n"
        "Warning: row 11, page number = 4 not sequential\n";
    const std::string closing = "\nOutput 9 records, highest household number = 6\n\nOutput file is rg110123.dat\n";
    const std::string whole = header + closing;
    const std::string fatal = "Fatal: row 2, File type switch does not match number of columns in data (25)\n"
                              "\tall the titles in row 2 must be non-blank\n";
    const struct {
        const char* what;
        std::string text;
        bool finished;
    } cases[] = {
        {"whole", whole, true},
        {"whole, CR LF", with_crlf(whole), true},
        {"a Fatal before the header", "Warning: Cell A1 doesn't contain a valid piece number\n\n" + fatal, true},
        {"a Fatal before the header, CR LF", with_crlf(fatal), true},
        {"a Fatal after some rows", header + "Fatal: Input file (RG110123.CSV) read failed\n", true},
        {"empty", "", false},
        {"only NUL bytes", std::string(4096, '\0'), false},
        {"cut in a finding", header.substr(0, header.size() - 10), false},
        {"cut before the closing lines", header, false},
        {"cut after the record count", header + closing.substr(0, closing.find("Output file")), false},
        {"the last line end missing", whole.substr(0, whole.size() - 1), false},
        {"cut between CR and LF", with_crlf(whole).substr(0, with_crlf(whole).size() - 1), false},
        {"a Fatal cut short", fatal.substr(0, 30), false},
        {"no header", closing, false},
        {"more after the closing lines", whole + "Warning: row 12, surname missing\n", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read_listing(c.text).finished, c.finished) << c.what;
}

// A row number no run can reach is no row: the line is shown as it is, read
// as no known message, and placed on no row (not on a row its digits wrap to).
TEST(ListingReader, RowNumbersAreReadWithinTheirRange)
{
    const struct {
        const char* row;
        int read_as;
    } cases[] = {
        {"2147483647", 2147483647}, {"2147483648", 0}, {"4294967300", 0},
        {"99999999999999999999", 0}, {"0", 0},          {"-4", 0},
    };
    for (const auto& c : cases) {
        const ListingSummary l = read_listing("Warning: row " + std::string(c.row) + ", surname missing\n");
        ASSERT_EQ(l.findings.size(), 1u);
        EXPECT_EQ(l.findings[0].row, c.read_as) << c.row;
        EXPECT_EQ(l.findings[0].message != nullptr, c.read_as > 0) << c.row;
        EXPECT_EQ(l.warnings, 1) << c.row;
    }
}

// The batch converter counts the findings without keeping them, and reads the
// lines that hold the piece's name (the header, the first Fatal) whole, however
// many line breaks the name has.
TEST(ListingReader, NamesWithLineBreaksGoOnOverTheirLines)
{
    ListingReader reader(false, 1);
    for (std::string_view line : {"Error listing for tabulon (Merrowby) v4.11.2  converting RG11", "Error: x.CSV",
                                  "Warning: row 4, surname missing", "Error: row 5, age missing\r",
                                  "Fatal: Input file (RG11\r", "Error: x.CSV) read failed\r", "\tmore"})
        reader.take(line);
    const ListingSummary l = reader.finish(true);
    EXPECT_EQ(l.converting, "RG11\nError: x.CSV");
    EXPECT_EQ(l.errors, 1);
    EXPECT_EQ(l.warnings, 1);
    EXPECT_TRUE(l.findings.empty());
    EXPECT_EQ(l.fatal, (std::vector<std::string>{"Fatal: Input file (RG11\r\nError: x.CSV) read failed", "\tmore"}));
}

TEST(ConsoleFatal, IsTheFatalLinesWithoutTheProgressCounter)
{
    EXPECT_EQ(console_fatal("Fatal: Program path too long, move it closer to the root of the disk\n"),
              "Fatal: Program path too long, move it closer to the root of the disk");
    EXPECT_EQ(console_fatal("Fatal: Messages file (RG110123.erc) failed to open\r\nFatal: Permission denied\r\n"),
              "Fatal: Messages file (RG110123.erc) failed to open; Fatal: Permission denied");
    EXPECT_EQ(console_fatal("1\r2\r3\rFatal: Listing file (a.erc) write failed\nFatal: No space left on device\n"),
              "Fatal: Listing file (a.erc) write failed; Fatal: No space left on device");
    // A line break of the piece's name goes on in the next line.
    EXPECT_EQ(console_fatal("Fatal: Messages file (a\nb.erc) failed to open\nFatal: Is a directory\n"),
              "Fatal: Messages file (a\nb.erc) failed to open; Fatal: Is a directory");
    EXPECT_EQ(console_fatal("12\r\nOutput 12 records\n"), "");
}

}  // namespace
