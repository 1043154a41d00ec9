#include "twrapper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The launcher object library calls the program's entry; this test program has none of its own.
int program::_main(int, char**) { return 0; }

namespace {

using Words = std::vector<std::string>;

Words cut(const std::string& line, Words continuations = {}, int* prompts = nullptr)
{
    std::size_t next = 0;
    return twrapper::cut_words(line, [&](std::string& more) {
        if (prompts)
            ++*prompts;
        if (next >= continuations.size())
            return false;
        more = continuations[next++];
        return true;
    });
}

TEST(CutWords, BlanksAndTabsSeparateWords)
{
    EXPECT_EQ(cut("  -v\tfile.csv  "), (Words{"-v", "file.csv"}));
    EXPECT_EQ(cut(""), Words{});
    EXPECT_EQ(cut(" \t "), Words{});
}

TEST(CutWords, QuotesHoldBlanksAndOnlyTheirOwnKind)
{
    EXPECT_EQ(cut("-v \"My Documents\\file.csv\""), (Words{"-v", "My Documents\\file.csv"}));
    EXPECT_EQ(cut("'it\"s'"), Words{"it\"s"});
    EXPECT_EQ(cut("\"ab\"cd"), (Words{"ab", "cd"}));
    EXPECT_EQ(cut("ab\"cd\" e"), (Words{"ab\"cd\"", "e"}));
    EXPECT_EQ(cut("''"), Words{""});
    EXPECT_EQ(cut("\"open to the end"), Words{"open to the end"});
}

TEST(CutWords, LoneTrailingBackslashContinuesTheLine)
{
    int prompts = 0;
    EXPECT_EQ(cut("a b \\", {"c"}, &prompts), (Words{"a", "b", "c"}));
    EXPECT_EQ(prompts, 1);
    prompts = 0;
    EXPECT_EQ(cut("a \\", {"b \\", "c"}, &prompts), (Words{"a", "b", "c"}));
    EXPECT_EQ(prompts, 2);
}

TEST(CutWords, BackslashInsideAWordIsOrdinary)
{
    int prompts = 0;
    EXPECT_EQ(cut("abc\\", {}, &prompts), Words{"abc\\"});
    EXPECT_EQ(prompts, 0);
    EXPECT_EQ(cut("\\x y"), (Words{"\\x", "y"}));
    EXPECT_EQ(cut("\"a b \\"), Words{"a b \\"});
}

TEST(CutWords, EndOfInputAtAContinuationEndsTheLine)
{
    int prompts = 0;
    EXPECT_EQ(cut("a \\", {}, &prompts), Words{"a"});
    EXPECT_EQ(prompts, 1);
}

TEST(CutWords, ManyWordsAndLongLinesHaveNoLimit)
{
    std::string line;
    for (int i = 0; i < 5000; ++i)
        line += "w" + std::to_string(i) + " ";
    const Words words = cut(line);
    ASSERT_EQ(words.size(), 5000u);
    EXPECT_EQ(words.back(), "w4999");
    EXPECT_EQ(cut(std::string(100000, 'x')).at(0).size(), 100000u);
}

}  // namespace
