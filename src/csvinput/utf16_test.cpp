#include "utf16.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using utf16::ByteOrder;

std::string units_low_first(std::initializer_list<unsigned> units)
{
    std::string out;
    for (const unsigned u : units) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

std::string converted(const std::string& text, ByteOrder order = ByteOrder::low_first)
{
    std::string out(text.size(), '\0');
    const utf8::Converted c = utf16::to_cp1252(text.data(), text.data() + text.size(), out.data(), true, order);
    EXPECT_EQ(c.stopped, text.data() + text.size());
    out.resize(static_cast<std::size_t>(c.written - out.data()));
    return out;
}

}  // namespace

TEST(Utf16, CharactersMapAsUtf8sDoAndPairsAreOneCharacter)
{
    EXPECT_EQ(converted(units_low_first({'R', 0xE9, 0x2019, 0x0100, 0xD83D, 0xDE00, 'x'})), "R\xE9\x92\x81\x81x");
    EXPECT_EQ(converted(std::string("\0R\0\xE9\x20\x19", 6), ByteOrder::high_first), "R\xE9\x92");
}

TEST(Utf16, UnpairedSurrogatesAndAnOddLastByteAreUnmappable)
{
    EXPECT_EQ(converted(units_low_first({0xD800, 'a'})), "\x81" "a");   // a high surrogate without its partner
    EXPECT_EQ(converted(units_low_first({0xDC00, 'a'})), "\x81" "a");   // a lone low surrogate
    EXPECT_EQ(converted(units_low_first({'a', 0xDBFF})), "a\x81");      // a high surrogate at the end
    EXPECT_EQ(converted(units_low_first({0xD800, 0xD800, 0xDC00})), "\x81\x81");
    EXPECT_EQ(converted(units_low_first({'a'}) + "b"), "a\x81");
}

TEST(Utf16, PiecesOfAnySizeGiveTheSameTextAsTheWhole)
{
    std::mt19937 random(16);
    const unsigned parts[] = {'a', ',', '\r', '\n', 0xE9, 0x20AC, 0xD83D, 0xDE00, 0xDC00, 0x4E2D};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (std::size_t i = random() % 40; i > 0; --i)
            text += units_low_first({parts[random() % std::size(parts)]});
        if (round % 2)
            text += 'z';
        const std::string whole = converted(text);
        for (std::size_t piece = 1; piece <= 5; ++piece) {
            std::string out, carried;
            for (std::size_t at = 0; at < text.size() || !carried.empty();) {
                const std::size_t take = std::min(piece, text.size() - at);
                const std::string input = carried + text.substr(at, take);
                at += take;
                std::string part(input.size(), '\0');
                const utf8::Converted c = utf16::to_cp1252(input.data(), input.data() + input.size(), part.data(),
                                                           at == text.size(), ByteOrder::low_first);
                out.append(part.data(), c.written);
                carried.assign(c.stopped, input.data() + input.size());
                ASSERT_LT(carried.size(), 4u);
            }
            ASSERT_EQ(out, whole) << "round " << round << " piece " << piece;
        }
    }
}
