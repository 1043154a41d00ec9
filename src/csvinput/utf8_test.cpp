#include "utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

// The whole text converted at once.
std::string converted(const std::string& text)
{
    std::string out(text.size(), '\0');
    const utf8::Converted c = utf8::to_cp1252(text.data(), text.data() + text.size(), out.data(), true);
    EXPECT_EQ(c.stopped, text.data() + text.size());
    out.resize(static_cast<std::size_t>(c.written - out.data()));
    return out;
}

// The text converted piece by piece, a cut sequence carried into the next
// piece as a reader with a small buffer would.
std::string converted_in_pieces(const std::string& text, std::size_t piece)
{
    std::string out, carried;
    for (std::size_t at = 0; at < text.size() || !carried.empty();) {
        const std::size_t take = std::min(piece, text.size() - at);
        const std::string input = carried + text.substr(at, take);
        at += take;
        const bool at_end = at == text.size();
        std::string part(input.size(), '\0');
        const utf8::Converted c = utf8::to_cp1252(input.data(), input.data() + input.size(), part.data(), at_end);
        out.append(part.data(), c.written);
        carried.assign(c.stopped, input.data() + input.size());
        EXPECT_LT(carried.size(), 4u);
        if (at_end) {
            EXPECT_TRUE(carried.empty());
        }
    }
    return out;
}

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

const std::string x81 = "\x81";

}  // namespace

TEST(Utf8, AsciiAndLatin1KeepTheirCode)
{
    for (int c = 0; c < 0x80; ++c)
        EXPECT_EQ(converted(bytes({c})), bytes({c})) << c;
    for (int c = 0xA0; c <= 0xFF; ++c)
        EXPECT_EQ(converted(bytes({0xC0 | (c >> 6), 0x80 | (c & 0x3F)})), bytes({c})) << c;
    EXPECT_EQ(converted("Ren\xC3\xA9" "e Lef\xC3\xA8vre, \xC2\xA3" "5"), "Ren\xE9" "e Lef\xE8vre, \xA3" "5");
}

TEST(Utf8, TheTwentySevenCharactersOfWindows1252sUpperControlRange)
{
    const struct {
        const char* utf8;
        int byte;
    } table[] = {
        {"\xE2\x82\xAC", 0x80},  // euro sign
        {"\xE2\x80\x9A", 0x82}, {"\xC6\x92", 0x83},     {"\xE2\x80\x9E", 0x84}, {"\xE2\x80\xA6", 0x85},
        {"\xE2\x80\xA0", 0x86}, {"\xE2\x80\xA1", 0x87}, {"\xCB\x86", 0x88},     {"\xE2\x80\xB0", 0x89},
        {"\xC5\xA0", 0x8A},     {"\xE2\x80\xB9", 0x8B}, {"\xC5\x92", 0x8C},     {"\xC5\xBD", 0x8E},
        {"\xE2\x80\x98", 0x91}, {"\xE2\x80\x99", 0x92}, {"\xE2\x80\x9C", 0x93}, {"\xE2\x80\x9D", 0x94},
        {"\xE2\x80\xA2", 0x95}, {"\xE2\x80\x93", 0x96}, {"\xE2\x80\x94", 0x97}, {"\xCB\x9C", 0x98},
        {"\xE2\x84\xA2", 0x99}, {"\xC5\xA1", 0x9A},     {"\xE2\x80\xBA", 0x9B}, {"\xC5\x93", 0x9C},
        {"\xC5\xBE", 0x9E},     {"\xC5\xB8", 0x9F},
    };
    ASSERT_EQ(std::size(table), 27u);
    for (const auto& entry : table)
        EXPECT_EQ(converted(entry.utf8), bytes({entry.byte})) << std::hex << entry.byte;
    // The control characters U+0080 to U+009F are not Windows-1252's.
    for (int c = 0x80; c < 0xA0; ++c)
        EXPECT_EQ(converted(bytes({0xC2, c})), x81) << c;
}

TEST(Utf8, EveryOtherCharacterIsOneUnmappableByte)
{
    for (const char* c : {"\xC4\x80",            // U+0100, A with macron
                          "\xCE\xA9",            // U+03A9, Greek capital omega
                          "\xE2\x86\x92",        // U+2192, rightwards arrow
                          "\xED\x9F\xBF",        // U+D7FF, just below the surrogates
                          "\xEE\x80\x80",        // U+E000, just above them
                          "\xEF\xBB\xBF",        // U+FEFF: a mark inside the text is a character
                          "\xEF\xBF\xBD",        // U+FFFD
                          "\xF0\x9F\x98\x80",    // U+1F600
                          "\xF4\x8F\xBF\xBF"})   // U+10FFFF, the last code point
        EXPECT_EQ(converted(std::string("a") + c + "b"), "a" + x81 + "b") << c;
}

TEST(Utf8, EachByteOfAnIllFormedSequenceIsUnmappableOnItsOwn)
{
    const struct {
        std::string utf8;
        std::string why;
    } cases[] = {
        {bytes({0xC0, 0x80}), "overlong NUL"},
        {bytes({0xC1, 0xBF}), "overlong two-byte form"},
        {bytes({0xE0, 0x80, 0x80}), "overlong three-byte form"},
        {bytes({0xE0, 0x9F, 0xBF}), "overlong three-byte form, highest"},
        {bytes({0xF0, 0x80, 0x80, 0x80}), "overlong four-byte form"},
        {bytes({0xF0, 0x8F, 0xBF, 0xBF}), "overlong four-byte form, highest"},
        {bytes({0xED, 0xA0, 0x80}), "high surrogate"},
        {bytes({0xED, 0xBF, 0xBF}), "low surrogate"},
        {bytes({0xF4, 0x90, 0x80, 0x80}), "U+110000"},
        {bytes({0xF5, 0x80, 0x80, 0x80}), "lead byte beyond F4"},
        {bytes({0xFF}), "FF"},
        {bytes({0xFE}), "FE"},
        {bytes({0x80}), "lone continuation byte"},
        {bytes({0xBF, 0xBF}), "two continuation bytes"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(converted("<" + c.utf8 + ">"), "<" + std::string(c.utf8.size(), '\x81') + ">") << c.why;
}

TEST(Utf8, CutShortSequenceGivesOneByteEachAndTheNextCharacterStands)
{
    EXPECT_EQ(converted(bytes({0xE2, 0x82}) + "A"), x81 + x81 + "A");
    EXPECT_EQ(converted(bytes({0xC3, 0xC3, 0xA9})), x81 + "\xE9");
    EXPECT_EQ(converted(bytes({0xF0, 0x9F, 0x98}) + "\r\n"), x81 + x81 + x81 + "\r\n");
    // At the end of the text.
    EXPECT_EQ(converted("ab" + bytes({0xE2, 0x82})), "ab" + x81 + x81);
    EXPECT_EQ(converted(bytes({0xF4, 0x8F, 0xBF})), x81 + x81 + x81);
}

TEST(Utf8, SequenceCutByThePiecesEndWaitsForTheRest)
{
    const std::string text = "ab" + bytes({0xE2, 0x82});
    std::string out(text.size(), '\0');
    utf8::Converted c = utf8::to_cp1252(text.data(), text.data() + text.size(), out.data(), false);
    EXPECT_EQ(c.stopped, text.data() + 2);
    EXPECT_EQ(std::string(out.data(), c.written), "ab");

    // What can never become well-formed is not held back.
    const std::string bad = "a" + bytes({0xE0, 0x80});
    c = utf8::to_cp1252(bad.data(), bad.data() + bad.size(), out.data(), false);
    EXPECT_EQ(c.stopped, bad.data() + bad.size());
    EXPECT_EQ(std::string(out.data(), c.written), "a" + x81 + x81);
}

TEST(Utf8, PiecesOfAnySizeGiveTheSameTextAsTheWhole)
{
    std::mt19937 random(9);
    // Whole characters of every length, and bytes that break them.
    const std::vector<std::string> parts = {"a", ",", "\r\n", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                                            "\xE2\x86\x92", "\xED\xA0\x80", "\x80", "\xE2", "\xF0\x9F", "\xC3"};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const std::size_t count = random() % 60;
        for (std::size_t i = 0; i < count; ++i)
            text += parts[random() % parts.size()];
        const std::string whole = converted(text);
        for (std::size_t piece = 1; piece <= 5; ++piece)
            ASSERT_EQ(converted_in_pieces(text, piece), whole) << "round " << round << " piece " << piece;
    }
}
