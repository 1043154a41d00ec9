#include "charclass.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

using namespace charclass;

namespace {

bool in(unsigned c, unsigned low, unsigned high) { return c >= low && c <= high; }

}  // namespace

TEST(CaseMapping, AccentedLettersMapBothWays)
{
    EXPECT_EQ(toupper8(0xE9), 0xC9);
    EXPECT_EQ(tolower8(0xC9), 0xE9);
    EXPECT_EQ(toupper8('a'), 'A');
    EXPECT_EQ(tolower8('Z'), 'z');
}

TEST(CaseMapping, SignsAndUnpairedLettersStay)
{
    EXPECT_EQ(toupper8(0xF7), 0xF7);  // division sign
    EXPECT_EQ(tolower8(0xD7), 0xD7);  // multiplication sign
    EXPECT_EQ(toupper8(0xDF), 0xDF);  // sharp s
    EXPECT_EQ(tolower8(0xDF), 0xDF);
    EXPECT_EQ(toupper8(0xFF), 0xFF);  // y with diaeresis has no capital here
    EXPECT_EQ(toupper8(0xFE), 0xDE);
    EXPECT_EQ(tolower8(0xDE), 0xFE);
}

TEST(CaseMapping, EveryCodeAgainstItsRanges)
{
    for (unsigned c = 0; c < 256; ++c) {
        const bool upper = in(c, 0x41, 0x5A) || in(c, 0xC0, 0xD6) || in(c, 0xD8, 0xDE);
        const bool lower = in(c, 0x61, 0x7A) || in(c, 0xE0, 0xF6) || in(c, 0xF8, 0xFE);
        const auto ch = static_cast<unsigned char>(c);
        EXPECT_EQ(tolower8(ch), upper ? c + 0x20 : c) << "code " << c;
        EXPECT_EQ(toupper8(ch), lower ? c - 0x20 : c) << "code " << c;
        // Exact inverses on the codes they change.
        if (upper) {
            EXPECT_EQ(toupper8(tolower8(ch)), ch) << "code " << c;
        }
        if (lower) {
            EXPECT_EQ(tolower8(toupper8(ch)), ch) << "code " << c;
        }
    }
}

TEST(Validity, ControlsUpperControlsAndSignsAreInvalid)
{
    EXPECT_FALSE(isvalid(0x09));
    EXPECT_FALSE(isvalid(0x00));
    EXPECT_FALSE(isvalid(0xA3));  // pound sign
    EXPECT_FALSE(isvalid(0x85));
    EXPECT_TRUE(isvalid(0xE9));
    EXPECT_TRUE(isvalid(0x7F));
    EXPECT_TRUE(isvalid(0xDF));
    EXPECT_TRUE(isvalid(0xFF));
    EXPECT_TRUE(isvalid(' '));
}

TEST(Validity, EveryCodeAgainstItsRanges)
{
    for (unsigned c = 0; c < 256; ++c) {
        const bool valid = in(c, 0x20, 0x7F) || in(c, 0xC0, 0xD6) || in(c, 0xD8, 0xF6) || in(c, 0xF8, 0xFF);
        EXPECT_EQ(isvalid(static_cast<unsigned char>(c)), valid) << "code " << c;
    }
}

TEST(Usual, ExactlyTheEightNamePunctuationMarks)
{
    const std::string usual = " &'(),-.";
    for (unsigned c = 0; c < 256; ++c) {
        const bool expected = usual.find(static_cast<char>(c)) != std::string::npos;
        EXPECT_EQ(isusual(static_cast<unsigned char>(c)), expected) << "code " << c;
    }
}

TEST(Alphabetic, ParishNameWithUsualPunctuation)
{
    EXPECT_TRUE(alphabetic("St. Mary's (Old Town) & Bow-le-Strand, West"));
    EXPECT_TRUE(alphabetic(""));
}

TEST(Alphabetic, AnyOtherCharacterFails)
{
    EXPECT_FALSE(alphabetic("Ward 3"));
    EXPECT_FALSE(alphabetic("Smith?"));
    EXPECT_FALSE(alphabetic("a/b"));
    EXPECT_FALSE(alphabetic("Ren\xE9"));
    EXPECT_FALSE(alphabetic(std::string("ab\0cd", 5)));  // the whole text counts
}

TEST(LocaleTests, NothingFromTheUpperHalf)
{
    for (unsigned c = 0; c < 256; ++c) {
        const auto ch = static_cast<unsigned char>(c);
        EXPECT_EQ(isdigit8(ch), in(c, '0', '9')) << "code " << c;
        EXPECT_EQ(isalpha8(ch), in(c, 'A', 'Z') || in(c, 'a', 'z')) << "code " << c;
        EXPECT_EQ(isalnum8(ch), isdigit8(ch) || isalpha8(ch)) << "code " << c;
    }
}

// Name characters are tested sixteen at a time in a blank-padded buffer.
TEST(Alphabetic, BlocksAgreeWithTheCharacterTest)
{
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
        char buffer[48];
        std::memset(buffer, ' ', sizeof buffer);
        const std::size_t size = random() % 49;
        for (std::size_t at = 0; at < size; ++at)
            buffer[at] = random() % 3 == 0 ? static_cast<char>(random() % 256) : "aZ&'(),-. "[random() % 10];
        const std::size_t blocks = size <= 16 ? 1 : size <= 32 ? 2 : 3;
        ASSERT_EQ(charclass::alphabetic_blocks(buffer, blocks), charclass::alphabetic(std::string_view(buffer, size)))
            << "<" << std::string(buffer, size) << ">";
    }
}

#if MERROWBY_SIMD16
// The fast roads' classes, sixteen characters at a time, repeat the tests.
TEST(Blocks, AgreeWithTheCharacterTestsOnEveryCode)
{
    for (unsigned c = 0; c < 256; ++c) {
        const auto ch = static_cast<unsigned char>(c);
        const simd16::Block bytes = simd16::repeat(static_cast<char>(ch));
        EXPECT_EQ(simd16::all(blocks::invalid(bytes)), !isvalid(ch)) << "code " << c;
        EXPECT_EQ(simd16::all(blocks::cased_letter(bytes)), tolower8(ch) != ch || toupper8(ch) != ch) << "code " << c;
    }
}
#endif
