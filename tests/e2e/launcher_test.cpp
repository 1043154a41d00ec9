// The console launcher seen from outside, through twrapper_echo: its _main
// prints "argc=N" and one "argv[i]=WORD" line per entry, and returns argc.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

namespace {

using e2e::Target;

// What twrapper_echo prints for this argument vector (before line-end translation).
std::string echoed(const std::string& argv0, const std::vector<std::string>& words)
{
    std::string text = "argc=" + std::to_string(words.size() + 1) + "\n";
    text += "argv[0]=" + argv0 + "\n";
    for (std::size_t i = 0; i < words.size(); ++i)
        text += "argv[" + std::to_string(i + 1) + "]=" + words[i] + "\n";
    return text;
}

// The program's path as its argv[0] shows it.
std::string echo_argv0()
{
    const Target& target = Target::get();
    return target.windows ? target.native(target.program("twrapper_echo"))
                          : target.program("twrapper_echo");
}

// The whole standard output of an interactive run that asked for `continuations`
// continuation lines and then called _main with these words.
std::string interactive_output(const std::vector<std::string>& words, int continuations = 0)
{
    std::string text = "Enter command : ";
    for (int i = 0; i < continuations; ++i)
        text += "Continue command line: \n";
    text += "\nProgram Starting\n\n";
    text += echoed(echo_argv0(), words);
    text += "\nProgram Complete\n(hit return to exit)...";
    return Target::get().text(text);
}

// Runs twrapper_echo with no arguments, typing `typed` at its prompt.
e2e::Result interactive(const std::string& typed)
{
    return e2e::run("twrapper_echo", {}, typed);
}

// The exit status as the host sees it: the low eight bits.
int exit_status(std::size_t argc)
{
    return static_cast<int>(argc & 0xff);
}

void expect_words(const std::string& typed, const std::vector<std::string>& words, int continuations = 0)
{
    const e2e::Result result = interactive(typed);
    EXPECT_EQ(result.out, interactive_output(words, continuations)) << "typed: " << typed;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, exit_status(words.size() + 1));
}

// --- started with arguments ---

TEST(Launcher, ArgumentsPassStraightThroughWithoutPrompt)
{
    const e2e::Result result = e2e::run("twrapper_echo", {"-v", "My Documents", "x"}, "unread\n");
    EXPECT_EQ(result.out, Target::get().text(echoed(echo_argv0(), {"-v", "My Documents", "x"})));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 4);
}

TEST(Launcher, ExitStatusIsTheProgramsResult)
{
    std::vector<std::string> args;
    for (int i = 0; i < 9; ++i)
        args.push_back("w" + std::to_string(i));
    EXPECT_EQ(e2e::run("twrapper_echo", args).status, 10);
    EXPECT_EQ(e2e::run("twrapper_echo", {"one"}).status, 2);
}

TEST(Launcher, ArgumentsAreNotCutAgain)
{
    // Quotes, blanks and backslashes in arguments are the program's own business.
    const std::vector<std::string> args = {"'a b'", "c\\", "\\", "x\ty"};
    const e2e::Result result = e2e::run("twrapper_echo", args);
    EXPECT_EQ(result.out, Target::get().text(echoed(echo_argv0(), args)));
    EXPECT_EQ(result.status, 5);
}

TEST(Launcher, ChosenArgv0IsEntryZeroAtThePrompt)
{
    if (Target::get().windows)
        GTEST_SKIP() << "Wine makes argv[0] itself";
    e2e::Invocation invocation;
    invocation.program = "twrapper_echo";
    invocation.argv0 = "/elsewhere/prog";
    invocation.stdin_text = "a\n";
    const e2e::Result result = e2e::run(invocation);
    EXPECT_EQ(result.out, "Enter command : \nProgram Starting\n\n" + echoed("/elsewhere/prog", {"a"}) +
                              "\nProgram Complete\n(hit return to exit)...");
    EXPECT_EQ(result.status, 2);
}

TEST(Launcher, NoArgumentsAtAllGiveAnEmptyEntryZero)
{
    if (Target::get().windows)
        GTEST_SKIP() << "a Windows program always has argv[0]";
    e2e::Invocation invocation;
    invocation.program = "twrapper_echo";
    invocation.no_argv = true;
    invocation.stdin_text = "a b\n";
    const e2e::Result result = e2e::run(invocation);
    EXPECT_EQ(result.out, "Enter command : \nProgram Starting\n\n" + echoed("", {"a", "b"}) +
                              "\nProgram Complete\n(hit return to exit)...");
    EXPECT_EQ(result.status, 3);
}

// --- the prompt and the word cutting ---

TEST(Launcher, PromptsRunsAndWaits)
{
    expect_words("x y\n\n", {"x", "y"});
}

TEST(Launcher, EmptyLineGivesEntryZeroOnly)
{
    expect_words("\n\n", {});
}

TEST(Launcher, BlankLineGivesEntryZeroOnly)
{
    expect_words("   \t  \n\n", {});
}

TEST(Launcher, NoInputAtAll)
{
    expect_words("", {});
}

TEST(Launcher, LastLineWithoutLineFeed)
{
    expect_words("a b", {"a", "b"});
}

TEST(Launcher, TrailingCarriageReturnIsDropped)
{
    expect_words("a b\r\n\r\n", {"a", "b"});
}

TEST(Launcher, TabSeparatesLikeBlank)
{
    expect_words("a\tb \t c\n", {"a", "b", "c"});
}

TEST(Launcher, DoubleQuotedWordKeepsItsBlanks)
{
    expect_words("-v \"My Documents\\file.csv\"\n", {"-v", "My Documents\\file.csv"});
}

TEST(Launcher, SingleQuotedWordKeepsADoubleQuote)
{
    expect_words("'it\"s'\n", {"it\"s"});
}

TEST(Launcher, DoubleQuotedWordKeepsASingleQuote)
{
    expect_words("\"it's\" x\n", {"it's", "x"});
}

TEST(Launcher, QuotedWordKeepsTabs)
{
    expect_words("'a\tb'\n", {"a\tb"});
}

TEST(Launcher, WordMayFollowClosingQuoteDirectly)
{
    expect_words("\"ab\"cd\n", {"ab", "cd"});
}

TEST(Launcher, QuoteInsideWordIsOrdinary)
{
    expect_words("ab\"cd ef'gh\n", {"ab\"cd", "ef'gh"});
}

TEST(Launcher, UnterminatedQuoteRunsToEndOfLine)
{
    expect_words("x \"a b \\\n", {"x", "a b \\"});
}

TEST(Launcher, EmptyQuotesGiveEmptyWord)
{
    expect_words("''\n", {""});
    expect_words("\"\" x ''\n", {"", "x", ""});
}

TEST(Launcher, LoneBackslashAtEndContinuesTheLine)
{
    expect_words("a b \\\nc\n\n", {"a", "b", "c"}, 1);
}

TEST(Launcher, ContinuationMayRepeat)
{
    expect_words("a \\\nb \\\n c d\n\n", {"a", "b", "c", "d"}, 2);
}

TEST(Launcher, ContinuationLineStartsWhereTheBackslashWas)
{
    // The continued line is joined at the backslash: its first word may touch the last.
    expect_words("\\\nx\n", {"x"}, 1);
    expect_words("\"a\"\\\nb\n", {"a", "b"}, 1);
}

TEST(Launcher, BackslashEndingAWordIsPartOfIt)
{
    expect_words("abc\\\n\n", {"abc\\"});
}

TEST(Launcher, BackslashBeforeMoreTextIsOrdinary)
{
    expect_words("\\abc \\ x\n", {"\\abc", "\\", "x"});
}

TEST(Launcher, EndOfInputAtContinuationEndsTheLine)
{
    // Asked once, the continuation meets the end of input: no second prompt.
    expect_words("a \\\n", {"a"}, 1);
    expect_words("a \\", {"a"}, 1);
}

TEST(Launcher, EmptyContinuationLine)
{
    expect_words("a \\\n\n\n", {"a"}, 1);
}

TEST(Launcher, VeryLongLine)
{
    // The launcher keeps the whole line, however long.
    const std::string word(100 * 1024, 'w');
    expect_words("x " + word + " y\n\n", {"x", word, "y"});
}

TEST(Launcher, ManyWords)
{
    std::vector<std::string> words;
    std::string typed;
    for (int i = 0; i < 5000; ++i) {
        words.push_back("w" + std::to_string(i));
        typed += words.back() + " ";
    }
    expect_words(typed + "\n\n", words);
}

TEST(Launcher, EightBitAndControlBytesPassThrough)
{
    std::string high, control;
    for (int c = 0x80; c <= 0xff; ++c)
        high += static_cast<char>(c);
    // Not: tab and blank (separators), line feed and carriage return (line ends),
    // and Ctrl-Z, the end of console input in Windows text mode.
    for (int c = 0x01; c < 0x20; ++c)
        if (c != '\t' && c != '\n' && c != '\r' && c != 0x1a)
            control += static_cast<char>(c);
    control += '\x7f';
    expect_words(high + " " + control + "\n\n", {high, control});
}

TEST(Launcher, CarriageReturnInsideLineIsKept)
{
    expect_words("a\rb c\n", {"a\rb", "c"});
}

}  // namespace
