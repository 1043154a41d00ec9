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

// Formats are checked when compiling; the run-time formatter still refuses a
// mismatch, should a format ever be built while the program runs.
TEST(Msgfmt, MismatchedArgumentsAreFaults)
{
    using msgfmt_detail::format;
    using msgfmt_detail::make_arg;
    EXPECT_THROW(format("%d", {}), std::logic_error);
    EXPECT_THROW(format("%d", {make_arg(1), make_arg(2)}), std::logic_error);
    EXPECT_THROW(format("%d", {make_arg('x')}), std::logic_error);
    EXPECT_THROW(format("%c", {make_arg(1)}), std::logic_error);
    EXPECT_THROW(format("%s", {make_arg(1)}), std::logic_error);
    EXPECT_THROW(format("%5d", {make_arg(1)}), std::logic_error);
}

}  // namespace
