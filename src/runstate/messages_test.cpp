// The catalogue read back: each finding's line is read back as its own entry,
// and matching holds to numbers, characters and the whole line; and every
// finding is explained for the report's readers.
#include "messages.h"

#include <gtest/gtest.h>

namespace {

// A listing line written from format with sample values.
std::string sample_line(std::string_view format)
{
    std::string line;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            line += format[i];
        else if (format[++i] == 'd')
            line += "347";
        else if (format[i] == 'c')
            line += '#';
        else
            line += "A value, with = and <brackets>";
    }
    while (line.ends_with('\n'))
        line.pop_back();
    return line;
}

TEST(Catalogue, EachFindingIsReadBackAsItself)
{
    for (const msg::Entry& entry : msg::catalogue) {
        if (entry.severity == msg::Severity::fatal || entry.severity == msg::Severity::plain)
            continue;
        EXPECT_EQ(msg::find(sample_line(entry.text)), &entry) << entry.text;
    }
}

// The report shows each kind of finding with its explanation: one or two
// sentences of plain text, each finding its own, none for the plain lines.
TEST(Catalogue, EveryFindingHasAShortPlainExplanation)
{
    for (const msg::Entry& entry : msg::catalogue) {
        const std::string_view why = entry.explanation;
        if (entry.severity == msg::Severity::plain) {
            EXPECT_TRUE(why.empty()) << entry.text;
            continue;
        }
        if (why.empty()) {
            ADD_FAILURE() << "no explanation for " << entry.text;
            continue;
        }
        EXPECT_TRUE(why.ends_with('.')) << why;
        EXPECT_LE(why.size(), 300u) << why;
        int sentences = 1;
        for (std::size_t i = 0; i < why.size(); ++i) {
            EXPECT_TRUE(why[i] >= ' ' && why[i] <= '~') << "not plain ASCII at " << i << ": " << why;
            if (why.substr(i, 2) == ". " && i + 2 < why.size() && why[i + 2] >= 'A' && why[i + 2] <= 'Z')
                ++sentences;
        }
        EXPECT_LE(sentences, 2) << why;
    }
}

TEST(Catalogue, MatchingHoldsToNumbersCharactersAndTheWholeLine)
{
    EXPECT_TRUE(msg::matches("Error: row 12, ED = 4x not numeric", "Error: row %d, ED = %s not numeric\n"));
    EXPECT_FALSE(msg::matches("Error: row x, ED = 4 not numeric", "Error: row %d, ED = %s not numeric\n"));
    EXPECT_FALSE(msg::matches("Error: row 12, ED = 4 not numeric.", "Error: row %d, ED = %s not numeric\n"));
    EXPECT_TRUE(msg::matches("Error: row 3, field contains an invalid character <<>",
                             "Error: row %d, field contains an invalid character <%c>\n"));
    EXPECT_FALSE(msg::matches("Error: row 3, field contains an invalid character <>",
                              "Error: row %d, field contains an invalid character <%c>\n"));
    // A value that looks like the fixed text around it.
    EXPECT_EQ(msg::find("Warning: row 9, household member number = 0 not valid not sequential"),
              &msg::catalogue[msg::member_not_sequential]);
    EXPECT_EQ(msg::find("Warning: row 9, something the catalogue does not know"), nullptr);
}

}  // namespace
