#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "console_io.h"
#include "paths.h"
#include "platform.h"
#include "text.h"

namespace {

// Paths are written with '/' here and turned into the platform's separator.
std::string p(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = platform::dir_separator;
    return path;
}

TEST(SplitPath, DirectoryBaseAndExtension)
{
    const auto parts = paths::splitpath(p("C:/data/RG110123.CSV"));
    EXPECT_EQ(parts.dir, p("C:/data"));
    EXPECT_EQ(parts.base, "RG110123");
    EXPECT_EQ(parts.ext, "CSV");
}

TEST(SplitPath, ExtensionStartsAtTheFirstDotOfTheFileName)
{
    const auto parts = paths::splitpath(p("C:/my.dir/rg11.part.csv"));
    EXPECT_EQ(parts.dir, p("C:/my.dir"));
    EXPECT_EQ(parts.base, "rg11");
    EXPECT_EQ(parts.ext, "part.csv");
}

TEST(SplitPath, BareNameHasNoDirectoryOrExtension)
{
    const auto parts = paths::splitpath("file");
    EXPECT_EQ(parts.dir, "");
    EXPECT_EQ(parts.base, "file");
    EXPECT_EQ(parts.ext, "");
}

TEST(SplitPath, OnlyThePlatformSeparatorSeparates)
{
    const std::string other = platform::dir_separator == '/' ? "C:\\data\\x.csv" : "C:/data/x.csv";
    const auto parts = paths::splitpath(other);
    EXPECT_EQ(parts.dir, "");
    EXPECT_EQ(parts.base, other.substr(0, other.size() - 4));
    EXPECT_EQ(parts.ext, "csv");
}

TEST(SplitPath, FileInTheRootKeepsTheRoot)
{
    const auto parts = paths::splitpath(p("/x.csv"));
    EXPECT_EQ(parts.dir, p("/"));
    EXPECT_EQ(paths::makepath(parts.dir, parts.base, "erc"), p("/x.erc"));
}

TEST(MakePath, JoinsWithOneSeparatorAndAlwaysADot)
{
    EXPECT_EQ(paths::makepath("", "name", "dat"), "name.dat");
    EXPECT_EQ(paths::makepath(p("C:/d"), "name", ""), p("C:/d/name."));
    EXPECT_EQ(paths::makepath(p("C:/d/"), "name", "erc"), p("C:/d/name.erc"));
}

TEST(Text, PadFillsButNeverCuts)
{
    std::string s = "abc";
    EXPECT_EQ(text::pad(s, 5), "abc  ");
    std::string t = "abc";
    EXPECT_EQ(text::pad(t, 2), "abc");
}

TEST(Text, CapitalsDifferBetweenTheTwoMappings)
{
    std::string eight = "caf\xE9 \xFF\xDF";
    std::string ascii = eight;
    EXPECT_EQ(text::capitals(eight, text::CaseMap::eight_bit), "CAF\xC9 \xFF\xDF");
    EXPECT_EQ(text::capitals(ascii, text::CaseMap::ascii), "CAF\xE9 \xFF\xDF");
}

TEST(Text, StripRemovesOnlyTrailingBlanks)
{
    std::string a = "ab  ", b = "   ", c = "ab\t";
    text::strip(a);
    text::strip(b);
    text::strip(c);
    EXPECT_EQ(a, "ab");
    EXPECT_EQ(b, "");
    EXPECT_EQ(c, "ab\t");
}

TEST(Text, NumbersForFixedFieldsAsPrintfWritesThem)
{
    EXPECT_EQ(text::zero_padded(7, 2), "07");
    EXPECT_EQ(text::zero_padded(-12, 6), "-00012");  // the sign counts in the width
    EXPECT_EQ(text::zero_padded(1234567, 6), "1234567");
    EXPECT_EQ(text::hex_byte(0xAF, text::HexCase::upper) + text::hex_byte(0x0b, text::HexCase::lower), "AF0b");
}

TEST(Text, LeadingValueReadsLikeStrtol)
{
    EXPECT_EQ(text::leading_value("12a"), 12);
    EXPECT_EQ(text::leading_value("  -5"), -5);
    EXPECT_EQ(text::leading_value("+7"), 7);
    EXPECT_EQ(text::leading_value("a12"), 0);
    EXPECT_EQ(text::leading_value(""), 0);
    EXPECT_EQ(text::leading_value(std::string("1\0002", 3)), 1);
    // The value is read by hand: it must agree with strtoll at the edges too.
    for (const char* s : {"\t\n\v\f\r 42", "- 5", "+-3", "--1", "007x", "9223372036854775807",
                          "9223372036854775808", "99999999999999999999", "-9223372036854775808",
                          "-9223372036854775809", "-0", "+", " ", "12345678901234567", "123456789012345678",
                          "1234567890123456789", "1 2", "09"}) {
        EXPECT_EQ(text::leading_value(s), std::strtoll(s, nullptr, 10)) << s;
        // A field's digits are read up to the blank past its end.
        EXPECT_EQ(text::leading_value(text::Field(s)), std::strtoll(s, nullptr, 10)) << s;
    }
    EXPECT_EQ(text::leading_value(text::Field(std::string(text::Field::capacity, '9'))), LLONG_MAX);
}

TEST(Platform, DateTextHasTheFixedAsctimeShape)
{
    const std::string date = platform::utc_date_text();
    ASSERT_EQ(date.size(), 28u) << date;
    EXPECT_EQ(date.substr(24), " UTC");
    EXPECT_NE(date[8], '0') << "the day of the month is padded with a blank";
    EXPECT_EQ(platform::local_date_dmy().size(), 9u);
}

TEST(Platform, RunningProgramPathIsThisTestProgramsWholePath)
{
    const std::string path = platform::running_program_path();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(paths::splitpath(path).base, "common_tests") << path;
}

TEST(ConsoleIo, ReadLineTakesWholeLinesAndDropsOneCarriageReturn)
{
    struct CloseFile {
        void operator()(std::FILE* stream) const { std::fclose(stream); }
    };
    const std::unique_ptr<std::FILE, CloseFile> file(std::tmpfile());
    ASSERT_TRUE(file);
    std::FILE* in = file.get();
    const std::string long_line(3000, 'x');
    const std::string typed = long_line + "\nab\r\n\na\rb\r\r\nlast";
    std::fwrite(typed.data(), 1, typed.size(), in);
    std::rewind(in);

    std::string line = "stale";
    EXPECT_TRUE(console_io::read_line(in, line));
    EXPECT_EQ(line, long_line);
    EXPECT_TRUE(console_io::read_line(in, line));
    EXPECT_EQ(line, "ab");
    EXPECT_TRUE(console_io::read_line(in, line));
    EXPECT_EQ(line, "");
    EXPECT_TRUE(console_io::read_line(in, line));
    EXPECT_EQ(line, "a\rb\r");
    EXPECT_TRUE(console_io::read_line(in, line));  // no line feed at the end
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(console_io::read_line(in, line));
    EXPECT_EQ(line, "");
}

}  // namespace
