#include "console.h"

#include <gtest/gtest.h>

#include <string>

#include "paramfile.h"

namespace quillet {
namespace {

TEST(Replies, AreWholeLinesWithoutTheirLineEnds)
{
    const File in(std::tmpfile());
    ASSERT_TRUE(in);
    const std::string long_line(300, 'x');
    const std::string typed = long_line + "\nab\r\n\nlast";
    std::fwrite(typed.data(), 1, typed.size(), in.get());
    std::rewind(in.get());

    EXPECT_EQ(read_reply(in.get()), long_line);
    EXPECT_EQ(read_reply(in.get()), "ab");
    EXPECT_EQ(read_reply(in.get()), "");
    EXPECT_EQ(read_reply(in.get()), "last");
    EXPECT_EQ(read_reply(in.get()), "");  // input ended: an empty reply
}

}  // namespace
}  // namespace quillet
