#include "edit_mode.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

// A console over temporary streams: replies fed in, everything written kept.
class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        in_.reset(std::tmpfile());
        out_.reset(std::tmpfile());
        console_ = {in_.get(), out_.get()};
    }

    void type(const std::string& replies)
    {
        std::fwrite(replies.data(), 1, replies.size(), in_.get());
        std::rewind(in_.get());
    }

    std::string written()
    {
        std::string text(static_cast<std::size_t>(std::ftell(out_.get())), '\0');
        std::rewind(out_.get());
        text.resize(std::fread(text.data(), 1, text.size(), out_.get()));
        return text;
    }

    FilePtr in_;
    FilePtr out_;
    Console console_;
};

TEST_F(ConsoleTest, RepliesAreWholeLinesWithoutTheirLineEnds)
{
    const std::string long_line(300, 'x');
    type(long_line + "\nab\r\n\nlast");
    EXPECT_EQ(read_reply(console_.in), long_line);
    EXPECT_EQ(read_reply(console_.in), "ab");
    EXPECT_EQ(read_reply(console_.in), "");
    EXPECT_EQ(read_reply(console_.in), "last");
    EXPECT_EQ(read_reply(console_.in), "");  // input ended
}

TEST_F(ConsoleTest, IdIsUpperCasedAndRefusedPastFourCharacters)
{
    std::string id = "MJB ";
    EXPECT_FALSE(take_id(console_, "", id));
    EXPECT_TRUE(take_id(console_, "tq\xe9", id));
    EXPECT_EQ(id, "TQ\xe9");
    EXPECT_FALSE(take_id(console_, "abcde", id));
    EXPECT_EQ(id, "TQ\xe9");
    EXPECT_EQ(written(), "Error: Transcriber id abcde is longer than 4 characters, not changed\n");
}

TEST_F(ConsoleTest, NameIsCutToFiftySixCharacters)
{
    std::string name = "Old";
    EXPECT_FALSE(take_name("", name));
    EXPECT_TRUE(take_name(std::string(70, 'n'), name));
    EXPECT_EQ(name, std::string(56, 'n'));
}

TEST_F(ConsoleTest, CountsAreTakenByLeadingDigitsWithinSixDigits)
{
    Count count{5, "000005"};
    EXPECT_TRUE(take_count(console_, "12abc", count));
    EXPECT_EQ(count.value, 12);
    EXPECT_TRUE(take_count(console_, "none", count));
    EXPECT_EQ(count.value, 0);
    EXPECT_TRUE(take_count(console_, "999999", count));
    EXPECT_FALSE(take_count(console_, "-1", count));
    EXPECT_FALSE(take_count(console_, "1000000", count));
    EXPECT_FALSE(take_count(console_, "99999999999999999999999", count));
    EXPECT_EQ(count.value, 999999);
    EXPECT_EQ(written(), "Error: Count -1 is not between 0 and 999999, not changed\n"
                         "Error: Count 1000000 is not between 0 and 999999, not changed\n"
                         "Error: Count 99999999999999999999999 is not between 0 and 999999, not changed\n");
}

TEST(Replies, OnlyASingleYConfirms)
{
    EXPECT_TRUE(is_yes("Y"));
    EXPECT_TRUE(is_yes("y"));
    EXPECT_FALSE(is_yes("yes"));
    EXPECT_FALSE(is_yes(" Y"));
    EXPECT_FALSE(is_yes(""));
}

}  // namespace
}  // namespace quillet
