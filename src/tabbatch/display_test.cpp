#include "display.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tabbatch
