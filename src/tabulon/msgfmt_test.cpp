#include "msgfmt.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(Msgfmt, WritesNumbersTextsAndBytes)
{
    EXPECT_EQ(msgfmt("Error: row %d, <%c> %s 100%%\n", 12, 'x', std::string("abc")),
              "Error: row 12, <x> abc 100%\n");
    EXPECT_EQ(msgfmt("%d %d", -5, 2147483648LL), "-5 2147483648");
}

TEST(Msgfmt, TextsAreWrittenWholeWithTheirNulBytes)
{
    const std::string field("a\0b", 3);
    EXPECT_EQ(msgfmt("<%s>", field), std::string("<a\0b>", 5));
    EXPECT_EQ(msgfmt("<%c>", '\0'), std::string("<\0>", 3));
}

TEST(Msgfmt, MismatchedArgumentsAreFaults)
{
    EXPECT_THROW(msgfmt("%d"), std::logic_error);
    EXPECT_THROW(msgfmt("%d", 1, 2), std::logic_error);
    EXPECT_THROW(msgfmt("%d", 'x'), std::logic_error);
    EXPECT_THROW(msgfmt("%c", 1), std::logic_error);
    EXPECT_THROW(msgfmt("%s", 1), std::logic_error);
    EXPECT_THROW(msgfmt("%5d", 1), std::logic_error);
}

}  // namespace
