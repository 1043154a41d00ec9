#include "normalise.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "listing_capture.h"

namespace {

const std::string trailing_flag = "Warning: row 5, trailing \"?\" removed and flag set.\n";
const std::string trailing_plain = "Warning: row 5, trailing \"?\" removed.\n";
const std::string detected = "Warning: row 5, \"?\" detected, flag set.\n";

struct Marks {
    std::string text;
    std::string flag;      // before; "" in plain mode
    bool quiet;
    std::string text_after;
    std::string flag_after;
    std::string messages;
};

void check(const Marks& m, bool flag_mode)
{
    ListingCapture capture(m.quiet, false);
    std::string text = m.text;
    std::string flag = m.flag;
    if (flag_mode)
        noquery(text, flag, 5, capture.listing);
    else
        noquery(text, 5, capture.listing);
    EXPECT_EQ(text, m.text_after) << "text <" << m.text << ">";
    EXPECT_EQ(flag, m.flag_after) << "text <" << m.text << ">";
    EXPECT_EQ(capture.text(), m.messages) << "text <" << m.text << ">";
    EXPECT_EQ(capture.listing.nwarn(), m.messages.empty() ? 0 : 1) << "text <" << m.text << ">";
    EXPECT_EQ(capture.listing.nerr(), 0);
}

std::string capitalised(std::string text)
{
    inits(text);
    return text;
}

std::string split(std::string& text)
{
    return std::string(1, part2(text));
}

}  // namespace

TEST(Noquery, FlagMode)
{
    const Marks cases[] = {
        {"Smith?", "-", false, "Smith", "x", trailing_flag},
        {"Sm?th", "-", false, "Sm?th", "x", detected},
        {"Sm?th?", "-", false, "Sm?th", "x", trailing_flag},  // the flag is already up
        // One pass, marks then blanks: the mark left before the blank stays.
        {"Smith ? ?", "-", false, "Smith ?", "x", trailing_flag},
        {"?", "-", false, "", "x", trailing_flag},
        {"???", "-", false, "", "x", trailing_flag},
        {" ? ?", "-", false, " ?", "x", trailing_flag},
        {"Sm?th", "x", false, "Sm?th", "x", ""},     // already flagged
        {"Smith?", "x", false, "Smith", "x", trailing_flag},
        {"Sm?th", "X", false, "Sm?th", "x", detected},  // only a lower-case x counts
        {"a?b", "", false, "a?b", "x", detected},
        {std::string("a\0?b", 4), "-", false, std::string("a\0?b", 4), "x", detected},
        {"Smith ", "-", false, "Smith ", "-", ""},
        {"", "-", false, "", "-", ""},
        // Quiet: the flag is still set, nothing is written or counted.
        {"Smith?", "-", true, "Smith", "x", ""},
        {"Sm?th", "-", true, "Sm?th", "x", ""},
    };
    for (const Marks& m : cases)
        check(m, true);
}

TEST(Noquery, PlainMode)
{
    const Marks cases[] = {
        {"Sm?th", "", false, "Sm?th", "", ""},  // an inner mark is left alone
        {"St Mary  ??", "", false, "St Mary", "", trailing_plain},
        {"?", "", false, "", "", trailing_plain},
        {"Bow?", "", true, "Bow", "", ""},
    };
    for (const Marks& m : cases)
        check(m, false);
}

TEST(Part2, SplitsOneSuffix)
{
    struct Case {
        std::string text, rest, suffix;
    };
    const Case cases[] = {
        {"12a", "12", "a"},   {"12 a", "12", "a"}, {"12ab", "12a", "b"}, {"12#3", "12", "3"},
        {"12 #3", "12", "3"}, {"#3", "", "3"},     {"12", "12", " "},    {"3", "3", " "},
        {"", "", " "},        {"a", "", "a"},      {"  a", "", "a"},
        {"12\xB2", "12", "\xB2"},  // superscript two is not a digit
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(split(text), c.suffix) << "text <" << c.text << ">";
        EXPECT_EQ(text, c.rest) << "text <" << c.text << ">";
    }
}

TEST(Numeric, DigitsOnly)
{
    EXPECT_TRUE(numeric(""));
    EXPECT_TRUE(numeric("0123456789"));
    for (const char* text : {"12a", " ", "-1", "+1", "1.5", "12 "})
        EXPECT_FALSE(numeric(text)) << "text <" << text << ">";
    EXPECT_FALSE(numeric(std::string("1\0" "2", 3)));
    // A field is tested sixteen characters at a time: a stray character in
    // any place, and the blanks past the end, against the character test.
    for (std::size_t size = 0; size <= 20; ++size) {
        for (std::size_t stray = 0; stray <= size; ++stray) {
            std::string text(size, '7');
            if (stray < size)
                text[stray] = stray % 2 ? '/' : ':';
            EXPECT_EQ(numeric(text::Field(text)), numeric(std::string_view(text))) << "<" << text << ">";
        }
    }
}

TEST(Inits, NameStyleCapitals)
{
    EXPECT_EQ(capitalised("ST. MARY-LE-BOW"), "St. Mary-Le-Bow");
    EXPECT_EQ(capitalised("'T HOOFT"), "'T Hooft");
    EXPECT_EQ(capitalised("O'BRIEN"), "O'brien");
    EXPECT_EQ(capitalised("SMITH (JNR)"), "Smith (Jnr)");
    EXPECT_EQ(capitalised(""), "");
}

TEST(Inits, CapitalsAfterSeparatorsOnly)
{
    EXPECT_EQ(capitalised("ann mary-jane (bo).x,y)z'w"), "Ann Mary-Jane (Bo).X,Y)z'w");
    // A quote at a word start passes the capital on to what follows it.
    EXPECT_EQ(capitalised("\"bill\" jones"), "\"Bill\" Jones");
    EXPECT_EQ(capitalised("a ''b"), "A ''B");
}

TEST(Inits, AccentedLettersUseTheEightBitMapping)
{
    EXPECT_EQ(capitalised("\xE9MILE REN\xC9"), "\xC9mile Ren\xE9");
    EXPECT_EQ(capitalised("\xFF\xD7\xDF"), "\xFF\xD7\xDF");
}

// A field is capitalised sixteen characters at a time; it must agree with
// the character-by-character rules on texts of every length a field holds,
// quotes, separators and both halves of the character set among them.
TEST(Inits, FieldAgreesWithTheRulesCharacterByCharacter)
{
    const std::string usual = "aZz A(-.,)'\"\xC0\xDE\xDF\xE0\xFE\xFF\xD7\xF7@[`{9";
    std::mt19937 random(12);
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % (text::Field::capacity + 1), ' ');
        for (char& c : text)
            c = random() % 4 == 0 ? static_cast<char>(random() % 256) : usual[random() % usual.size()];
        text::Field field(text);
        inits(field);
        inits(text);
        ASSERT_EQ(std::string_view(field), text);
        for (std::size_t at = field.size(); at < text::Field::capacity; ++at)
            ASSERT_EQ(field.data()[at], ' ') << "past the end of <" << text << ">";
    }
}
