#include "display.h"

#include <gtest/gtest.h>

#include "batch.h"

namespace tabbatch {
namespace {

TEST(OneLine, WritesOutEveryControlCharacter)
{
    EXPECT_EQ(one_line("south\\RG110123.CSV: status 0"), "south\\RG110123.CSV: status 0");
    EXPECT_EQ(one_line("a\nb\rc\td"), "a\\nb\\rc\\td");
    EXPECT_EQ(one_line(std::string("\x1b[2J\x7f\0z", 7)), "\\x1b[2J\\x7f\\x00z");
    // U+0085 and U+009B in UTF-8; é (C3 A9) and U+00A0 (C2 A0) stay.
    EXPECT_EQ(one_line("a\xc2\x85" "b\xc2\x9b" "c\xc3\xa9\xc2\xa0"), "a\\x85b\\x9bc\xc3\xa9\xc2\xa0");
    EXPECT_EQ(one_line("end\xc2"), "end\xc2");
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
}  // namespace tabbatch
