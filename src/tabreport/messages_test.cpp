// The message table against the converter's sources: every message a check
// writes has its place in the table, and every entry is still written
// somewhere, so a new message without a mapping fails here.
#include "messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifndef MERROWBY_SOURCE_DIR
#error "MERROWBY_SOURCE_DIR must name the src folder"
#endif

namespace tabreport {
namespace {

namespace fs = std::filesystem;

struct Written {
    std::string format;  // the string literal's value, empty when the call had none
    std::string where;   // file:line
};

std::size_t skip_blanks(const std::string& s, std::size_t i)
{
    while (i < s.size()) {
        if (std::isspace(static_cast<unsigned char>(s[i])))
            ++i;
        else if (s.compare(i, 2, "//") == 0)
            i = s.find('\n', i);
        else
            break;
    }
    return i == std::string::npos ? s.size() : i;
}

// Reads adjacent string literals from i ("a" "b" is "ab"), decoding the escapes.
std::string literal_at(const std::string& s, std::size_t i)
{
    std::string value;
    while (i < s.size() && s[i] == '"') {
        for (++i; i < s.size() && s[i] != '"'; ++i) {
            if (s[i] != '\\') {
                value += s[i];
                continue;
            }
            const char e = s[++i];
            value += e == 'n' ? '\n' : e == 't' ? '\t' : e;
        }
        i = skip_blanks(s, i + 1);
    }
    return value;
}

// Every call of a listing's error, warning or info in the programs' sources.
std::vector<Written> written_messages()
{
    std::vector<Written> found;
    for (const auto& entry : fs::recursive_directory_iterator(MERROWBY_SOURCE_DIR)) {
        const std::string path = entry.path().generic_string();
        const std::string name = entry.path().filename().string();
        const bool source = name.ends_with(".cpp") || name.ends_with(".h");
        if (!source || name.find("test") != std::string::npos || path.find("/quillet/") != std::string::npos ||
            path.find("/tabreport/") != std::string::npos)
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        // warn_unusual(listing, "...", ...) writes its second argument as a warning;
        // inside it, the format it was given is passed on as it stands.
        for (const std::string call : {".error(", ".warning(", ".info(", "warn_unusual(listing,"}) {
            for (auto at = s.find(call); at != std::string::npos; at = s.find(call, at + 1)) {
                const std::size_t arg = skip_blanks(s, at + call.size());
                if (s.compare(arg, 8, "format, ") == 0)
                    continue;
                const auto line = std::count(s.begin(), s.begin() + static_cast<long>(at), '\n') + 1;
                found.push_back({literal_at(s, arg), path + ":" + std::to_string(line)});
            }
        }
    }
    return found;
}

TEST(MessageTable, EveryMessageTheConverterWritesHasItsPlace)
{
    std::set<std::string_view> known;
    for (const Message& m : messages())
        known.insert(m.format);
    const std::vector<Written> written = written_messages();
    ASSERT_GT(written.size(), 60u) << "the sources were not found under " << MERROWBY_SOURCE_DIR;
    for (const Written& w : written) {
        EXPECT_FALSE(w.format.empty()) << w.where << ": a message whose text is not a string literal";
        EXPECT_TRUE(known.contains(w.format)) << w.where << ": no place in the message table for \"" << w.format
                                               << "\"";
    }
}

TEST(MessageTable, EveryEntryIsStillWritten)
{
    std::set<std::string> written;
    for (const Written& w : written_messages())
        written.insert(w.format);
    for (const Message& m : messages())
        EXPECT_TRUE(written.contains(std::string(m.format))) << "no longer written: \"" << m.format << "\"";
}

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

TEST(MessageTable, EachMessageIsReadBackAsItselfWithItsOwnKind)
{
    std::set<std::string> slugs;
    for (std::size_t i = 0; i < messages().size(); ++i) {
        const std::string_view format = messages()[i].format;
        EXPECT_EQ(find_message(sample_line(format)), static_cast<int>(i)) << format;
        EXPECT_TRUE(slugs.insert(kind_slug(kind_label(format))).second) << "two kinds read alike: " << format;
    }
}

TEST(MessageTable, MatchingHoldsToNumbersCharactersAndTheWholeLine)
{
    EXPECT_TRUE(matches("Error: row 12, ED = 4x not numeric", "Error: row %d, ED = %s not numeric\n"));
    EXPECT_FALSE(matches("Error: row x, ED = 4 not numeric", "Error: row %d, ED = %s not numeric\n"));
    EXPECT_FALSE(matches("Error: row 12, ED = 4 not numeric.", "Error: row %d, ED = %s not numeric\n"));
    EXPECT_TRUE(matches("Error: row 3, field contains an invalid character <<>",
                        "Error: row %d, field contains an invalid character <%c>\n"));
    EXPECT_FALSE(matches("Error: row 3, field contains an invalid character <>",
                         "Error: row %d, field contains an invalid character <%c>\n"));
    // A value that looks like the fixed text around it.
    EXPECT_EQ(find_message("Warning: row 9, household member number = 0 not valid not sequential"),
              find_message("Warning: row 9, household member number = 5 not sequential"));
    EXPECT_EQ(find_message("Warning: row 9, something the table does not know"), -1);
}

TEST(MessageTable, KindsReadWithoutClassRowOrValues)
{
    EXPECT_EQ(kind_label("Warning: row %d, page number = %s not sequential\n"), "page number not sequential");
    EXPECT_EQ(kind_label("Warning: row %d, consecutive schedule numbers (%s) are the same\n"),
              "consecutive schedule numbers are the same");
    EXPECT_EQ(kind_label("Error: row %d, field too long <%s>, truncated by %d to %d characters in the output file\n"),
              "field too long, truncated by \x85 to \x85 characters in the output file");
    EXPECT_EQ(kind_label("Warning: row %d blank, ignored\n"), "blank, ignored");
    EXPECT_EQ(kind_slug("folio/SCT book = 0"), "folio-sct-book-0");
}

}  // namespace
}  // namespace tabreport
