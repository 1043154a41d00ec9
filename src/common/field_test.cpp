#include "field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "text.h"

using text::Field;

namespace {

constexpr std::size_t capacity = Field::capacity;

// 48 readable bytes, none of them blank: a block copy must blank what it does
// not keep.
const char source[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\xE9\xFF" "abcdefghij";
static_assert(sizeof source == 49);

// Texts of the lengths either side of the sixteen-byte blocks.
const std::string starts[] = {"", "a", "ab cd", std::string(15, 'o'), std::string(16, 'p'), std::string(17, 'q'),
                              std::string(33, 'r'), std::string(48, 's'), std::string(49, 't'),
                              std::string(capacity, 'u')};

std::string blank_padded(std::string text)
{
    text.resize(capacity, ' ');
    return text;
}

// A change to a field, and the same change to a std::string.
struct Change {
    const char* name;
    std::function<void(Field&)> field;
    std::function<void(std::string&)> model;
};

using S = std::string;

const Change changes[] = {
    {"= const char*", [](Field& f) { f = "Ann"; }, [](S& s) { s = "Ann"; }},
    {"= std::string", [](Field& f) { f = S(40, 'k'); }, [](S& s) { s = S(40, 'k'); }},
    {"= empty", [](Field& f) { f = std::string_view(); }, [](S& s) { s.clear(); }},
    {"assign own middle", [](Field& f) { f.assign(f.data() + 2, 5); }, [](S& s) { s = blank_padded(s).substr(2, 5); }},
    {"assign_blocks<1>", [](Field& f) { f.assign_blocks<1>(source, 9); }, [](S& s) { s.assign(source, 9); }},
    {"assign_blocks<2>", [](Field& f) { f.assign_blocks<2>(source, 17); }, [](S& s) { s.assign(source, 17); }},
    {"assign_blocks<3>", [](Field& f) { f.assign_blocks<3>(source, 40); }, [](S& s) { s.assign(source, 40); }},
    {"assign_number", [](Field& f) { f.assign_number(-1234567); }, [](S& s) { s = "-1234567"; }},
    {"+=", [](Field& f) { if (f.size() + 2 <= capacity) f += "xy"; },
     [](S& s) { if (s.size() + 2 <= capacity) s += "xy"; }},
    {"pop_back", [](Field& f) { if (!f.empty()) f.pop_back(); }, [](S& s) { if (!s.empty()) s.pop_back(); }},
    {"resize shorter", [](Field& f) { f.resize(3); }, [](S& s) { s.resize(std::min<std::size_t>(s.size(), 3)); }},
    {"clear", [](Field& f) { f.clear(); }, [](S& s) { s.clear(); }},
    {"capitals", [](Field& f) { text::capitals(f, text::CaseMap::eight_bit); },
     [](S& s) { text::capitals(s, text::CaseMap::eight_bit); }},
};

}  // namespace

// Every change, after every other from texts of many lengths: the text is
// right, the buffer is blank up to its capacity and ends with its NUL.
TEST(Field, BlankPastItsEndAfterEveryChange)
{
    for (const std::string& start : starts) {
        for (const Change& first : changes) {
            for (const Change& second : changes) {
                Field field(start);
                std::string model = start;
                for (const Change* change : {&first, &second}) {
                    change->field(field);
                    change->model(model);
                    const std::string context = "<" + start + "> " + first.name + ", " + second.name;
                    ASSERT_EQ(std::string_view(field), model) << context;
                    ASSERT_EQ(std::string(field.data(), capacity + 1), blank_padded(model) + '\0') << context;
                }
            }
        }
    }
}

TEST(Field, ComparesItsTextOnly)
{
    for (std::size_t size = 1; size <= capacity; ++size) {
        const std::string text(size, 'a');
        const std::string shorter = text.substr(1);
        EXPECT_TRUE(Field(text) == Field(text)) << size;
        EXPECT_FALSE(Field(text) == Field(shorter)) << size;
        EXPECT_FALSE(Field(shorter) == Field(shorter + ' ')) << size;  // the same buffer, one blank more of text
        for (std::size_t at = 0; at < size; ++at) {
            std::string other = text;
            other[at] = 'b';
            EXPECT_FALSE(Field(text) == Field(other)) << size << " differing at " << at;
        }
    }
    Field shortened(std::string(40, 'a'));
    shortened.resize(2);
    EXPECT_TRUE(shortened == Field("aa"));
    EXPECT_TRUE(Field() == Field(""));
    EXPECT_FALSE(Field("Head") == "Heads");
}

// The block copy of a cell reads whole blocks of its source; it must leave
// the same buffer as the plain copy for every length and every text before.
TEST(Field, BlockCopyAgreesWithThePlainCopy)
{
    const auto agree = [](auto copy_blocks, std::size_t longest) {
        for (const std::string& before : starts) {
            for (std::size_t count = 0; count <= longest; ++count) {
                Field blocks(before);
                Field plain(before);
                copy_blocks(blocks, count);
                plain.assign(source, count);
                ASSERT_EQ(blocks.size(), count);
                ASSERT_EQ(std::memcmp(blocks.data(), plain.data(), capacity + 1), 0)
                    << count << " bytes over <" << before << ">";
            }
        }
    };
    agree([](Field& f, std::size_t count) { f.assign_blocks<1>(source, count); }, 16);
    agree([](Field& f, std::size_t count) { f.assign_blocks<2>(source, count); }, 32);
    agree([](Field& f, std::size_t count) { f.assign_blocks<3>(source, count); }, 48);
}
