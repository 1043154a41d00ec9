#include "linereader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "listing_capture.h"
#include "utf8.h"

namespace {

struct Read {
    bool got;
    std::string line;
    bool eof;
    bool operator==(const Read&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Read& r)
{
    return os << "{" << r.got << ", \"" << r.line << "\" (" << r.line.size() << " bytes), eof " << r.eof << "}";
}

// Every call until the end-of-file indicator is set, as a row loop that tests
// the indicator makes them (bounded, in case the reader never ends).
std::vector<Read> read_all(const std::string& bytes, std::size_t buffer_size = LineReader::default_buffer_size)
{
    File f = file_with(bytes);
    LineReader reader(f.get(), buffer_size);
    std::vector<Read> out;
    std::string line;
    while (out.size() < bytes.size() + 2) {
        const bool got = reader.fgetm(line);
        out.push_back({got, line, reader.eof()});
        if (reader.eof())
            break;
    }
    return out;
}

// The line-reading rules one byte at a time over a string: the model that the
// buffered reader must agree with, end-of-file indicator included.
std::vector<Read> model(const std::string& bytes)
{
    std::vector<Read> out;
    std::size_t at = 0;
    bool eof = false;
    while (out.size() < bytes.size() + 2) {
        std::string line;
        int c = 0;
        bool met_end = false;
        for (;;) {
            if (at == bytes.size()) {
                eof = true;
                met_end = true;
                break;
            }
            c = static_cast<unsigned char>(bytes[at++]);
            line += static_cast<char>(c);
            if (c == '\n' || c == '\r')
                break;
        }
        if (!met_end && c == '\r') {
            line.back() = '\n';
            if (at == bytes.size())
                eof = true;
            else if (bytes[at] == '\n')
                ++at;
        }
        out.push_back({!(met_end && line.empty()), line, eof});
        if (eof)
            break;
    }
    return out;
}

}  // namespace

TEST(LineReader, AllThreeLineEndsGiveTheSameRows)
{
    const std::vector<Read> expected = {
        {true, "a,b\n", false}, {true, "c\n", false}, {false, "", true}};
    EXPECT_EQ(read_all("a,b\nc\n"), expected);
    EXPECT_EQ(read_all("a,b\r\nc\r\n"), expected);
    // A final lone CR looks one byte ahead and so meets the end at once.
    EXPECT_EQ(read_all("a,b\rc\r"), (std::vector<Read>{{true, "a,b\n", false}, {true, "c\n", true}}));
}

TEST(LineReader, CrCrIsARowThenAnEmptyRow)
{
    EXPECT_EQ(read_all("a\r\rb\n"),
              (std::vector<Read>{{true, "a\n", false}, {true, "\n", false}, {true, "b\n", false}, {false, "", true}}));
}

TEST(LineReader, LfCrIsTwoLineEnds)
{
    EXPECT_EQ(read_all("a\n\rb"),
              (std::vector<Read>{{true, "a\n", false}, {true, "\n", false}, {true, "b", true}}));
}

TEST(LineReader, LastLineWithoutTerminatorIsStillRead)
{
    EXPECT_EQ(read_all("a\nlast"), (std::vector<Read>{{true, "a\n", false}, {true, "last", true}}));
}

TEST(LineReader, EmptyInputGivesNothing)
{
    EXPECT_EQ(read_all(""), (std::vector<Read>{{false, "", true}}));
}

TEST(LineReader, CallsAfterTheEndKeepGivingNothing)
{
    File f = file_with("x\r");
    LineReader reader(f.get());
    std::string line = "stale";
    EXPECT_TRUE(reader.fgetm(line));
    EXPECT_EQ(line, "x\n");
    EXPECT_TRUE(reader.eof());
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(reader.fgetm(line));
        EXPECT_EQ(line, "");
        EXPECT_TRUE(reader.eof());
    }
    EXPECT_FALSE(reader.failed());
}

TEST(LineReader, LongLineIsOneLineWhateverItsLength)
{
    EXPECT_EQ(read_all(std::string(1500, 'x') + "\n"),
              (std::vector<Read>{{true, std::string(1500, 'x') + "\n", false}, {false, "", true}}));
    // Across many read buffers; its CR LF is one line end, not an extra row.
    const std::string long_line(5 * LineReader::default_buffer_size + 17, 'y');
    EXPECT_EQ(read_all(long_line + "\r\nz"),
              (std::vector<Read>{{true, long_line + "\n", false}, {true, "z", true}}));
}

TEST(LineReader, NulBytesAreOrdinaryBytes)
{
    const std::string bytes("a\0b,\0\nc\0", 8);
    EXPECT_EQ(read_all(bytes), (std::vector<Read>{{true, std::string("a\0b,\0\n", 6), false},
                                                   {true, std::string("c\0", 2), true}}));
}

TEST(LineReader, SmallReadBuffersGiveTheSameLines)
{
    const std::string bytes = "abcde\r\nfg\r\rhijklmnop\n\rq\r";
    for (std::size_t size = 1; size <= 9; ++size)
        EXPECT_EQ(read_all(bytes, size), model(bytes)) << "buffer of " << size;
}

TEST(LineReader, CrLfSplitAcrossTheReadBuffer)
{
    // Lines of 99 bytes and LF; the line holding the buffer's last byte ends
    // in a CR there, and its LF is the first byte of the next read.
    const std::size_t boundary = LineReader::default_buffer_size;
    std::string bytes;
    while (bytes.size() + 100 < boundary)
        bytes += std::string(99, 'a' + static_cast<char>(bytes.size() % 26)) + "\n";
    bytes += std::string(boundary - 1 - bytes.size(), 'z') + "\r\n";
    ASSERT_EQ(bytes[boundary - 1], '\r');
    ASSERT_EQ(bytes[boundary], '\n');
    bytes += "after\r";
    bytes += std::string(3 * boundary, 'q');  // a long line across later buffers
    bytes += "\r";
    const std::vector<Read> got = read_all(bytes);
    EXPECT_EQ(got, model(bytes));
    // The split CR LF gives one line end, not an extra empty row.
    bool seen_after = false;
    for (const Read& r : got) {
        EXPECT_NE(r.line, "\n");
        seen_after = seen_after || r.line == "after\n";
    }
    EXPECT_TRUE(seen_after);
}

TEST(LineReader, LoneCrAtTheBufferBoundaryLeavesTheNextByte)
{
    const std::size_t boundary = LineReader::default_buffer_size;
    std::string bytes(boundary - 1, 'k');
    bytes += "\rnext\n";
    const std::vector<Read> got = read_all(bytes);
    EXPECT_EQ(got, (std::vector<Read>{{true, std::string(boundary - 1, 'k') + "\n", false},
                                       {true, "next\n", false},
                                       {false, "", true}}));
}

TEST(LineReader, AgreesWithTheByteByByteRulesOnRandomInput)
{
    std::mt19937 random(20240611);
    const std::string alphabet("\r\n\r\n\r\na,\"\0\x85", 11);
    for (int round = 0; round < 40; ++round) {
        // The last rounds span more than two read buffers.
        const std::size_t length =
            round < 36 ? random() % 3000 : 2 * LineReader::default_buffer_size + random() % 5000;
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i)
            bytes += alphabet[random() % alphabet.size()];
        const std::size_t size = round % 3 == 0 ? LineReader::default_buffer_size : 4 + random() % 40;
        ASSERT_EQ(read_all(bytes, size), model(bytes)) << "round " << round;
    }
}

TEST(LineReader, ReadErrorEndsTheInput)
{
    // Reading a directory fails with an error rather than an end of file.
    File dir(std::fopen(".", "rb"));
    ASSERT_TRUE(dir);
    LineReader reader(dir.get());
    std::string line;
    int calls = 0;
    while (calls < 5 && !reader.eof()) {
        reader.fgetm(line);
        ++calls;
    }
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(reader.failed());
    EXPECT_TRUE(reader.eof());
    EXPECT_FALSE(reader.fgetm(line));
    EXPECT_EQ(line, "");
}

// ---- Input saved as UTF-8 ----

namespace {

const std::string mark = "\xEF\xBB\xBF";

// The text after the mark as the reader should deliver it: converted whole.
std::string windows_1252(const std::string& utf8_text)
{
    std::string out(utf8_text.size(), '\0');
    const utf8::Converted c =
        utf8::to_cp1252(utf8_text.data(), utf8_text.data() + utf8_text.size(), out.data(), true);
    out.resize(static_cast<std::size_t>(c.written - out.data()));
    return out;
}

}  // namespace

TEST(LineReader, ByteOrderMarkMakesTheInputUtf8)
{
    const std::string bytes = mark + "A1,Ren\xC3\xA9" "e\r\n\xE2\x82\xAC\xE2\x86\x92\xC3\rlast";
    File f = file_with(bytes);
    LineReader reader(f.get());
    std::string line;
    EXPECT_TRUE(reader.fgetm(line));
    EXPECT_EQ(reader.encoding(), LineReader::Encoding::utf8);
    EXPECT_EQ(line, "A1,Ren\xE9" "e\n");
    // The euro sign has its byte; the arrow and the cut-short sequence before
    // the CR become 0x81, each on its own.
    EXPECT_TRUE(reader.fgetm(line));
    EXPECT_EQ(line, "\x80\x81\x81\n");
    EXPECT_TRUE(reader.fgetm(line));
    EXPECT_EQ(line, "last");
    EXPECT_TRUE(reader.eof());
}

TEST(LineReader, WithoutAMarkTheFirstByteBeyondAsciiDecides)
{
    using E = LineReader::Encoding;
    const struct {
        std::string bytes;
        std::string text;
        E encoding;
    } cases[] = {
        {"Ren\xC3\xA9" "e,\xE2\x80\x99\n", "Ren\xE9" "e,\x92\n", E::utf8},  // a UTF-8 save without the mark
        {"x" + mark + "\xC3\n", "x\x81\x81\n", E::utf8},                 // from there on as with the mark
        {"Ren\xE9" "e,\xC3\xA9\n", "Ren\xE9" "e,\xC3\xA9\n", E::windows_1252},  // no trail byte after E9
        {"O\x92Neill\n", "O\x92Neill\n", E::windows_1252},                // a trail byte first
        {"\xE0\x80\x80", "\xE0\x80\x80", E::windows_1252},               // overlong
        {"\xED\xA0\x80", "\xED\xA0\x80", E::windows_1252},               // a surrogate
        {"\xF4\x90\x80\x80", "\xF4\x90\x80\x80", E::windows_1252},      // above U+10FFFF
        {"\xEF\xBB", "\xEF\xBB", E::windows_1252},                         // cut by the end of the input
        {"abc\n", "abc\n", E::ascii_so_far},
    };
    for (const auto& c : cases) {
        // The byte that decides stands at every place of the small buffers.
        for (const std::size_t size : {LineReader::default_buffer_size, std::size_t{4}, std::size_t{5}, std::size_t{7}}) {
            EXPECT_EQ(read_all(c.bytes, size), model(c.text)) << c.bytes << " buffer " << size;
            EXPECT_EQ(read_all("abcdef" + c.bytes, size), model("abcdef" + c.text)) << c.bytes << " buffer " << size;
        }
        // After a long ASCII start, at every place of a block of 64 bytes.
        for (std::size_t ascii = 100; ascii < 230; ++ascii) {
            const std::string start(ascii, 'a');
            ASSERT_EQ(read_all(start + c.bytes), model(start + c.text)) << c.bytes << " after " << ascii;
        }
        File f = file_with(c.bytes);
        LineReader reader(f.get());
        std::string line;
        while (reader.fgetm(line)) {
        }
        EXPECT_EQ(reader.encoding(), c.encoding) << c.bytes;
    }
}

TEST(LineReader, MarkAloneIsAnEmptyInput)
{
    EXPECT_EQ(read_all(mark), (std::vector<Read>{{false, "", true}}));
    EXPECT_EQ(read_all(mark + "\n"), (std::vector<Read>{{true, "\n", false}, {false, "", true}}));
}

TEST(LineReader, Utf8SequencesCutByTheReadBuffersAreWholeAgain)
{
    std::mt19937 random(77);
    const std::vector<std::string> parts = {"a", ",", "\r\n", "\r", "\n", "\xC3\xA9", "\xE2\x82\xAC",
                                            "\xF0\x9F\x98\x80", "\xED\xA0\x80", "\x80", "\xE2", "\xF0\x9F"};
    for (int round = 0; round < 60; ++round) {
        std::string text;
        const std::size_t count = round < 50 ? random() % 400 : 40000 + random() % 5000;
        for (std::size_t i = 0; i < count; ++i)
            text += parts[random() % parts.size()];
        const std::size_t size = round < 50 ? 4 + random() % 12 : LineReader::default_buffer_size;
        ASSERT_EQ(read_all(mark + text, size), model(windows_1252(text))) << "round " << round;
    }
}

// ---- Input saved as UTF-16 ----

namespace {

// The UTF-16 form of text written as code units, low byte first or high.
std::string utf16(std::initializer_list<char16_t> units, bool low_first)
{
    std::string out;
    for (const char16_t u : units) {
        const char low = static_cast<char>(u & 0xFF), high = static_cast<char>(u >> 8);
        out += low_first ? std::string{low, high} : std::string{high, low};
    }
    return out;
}

}  // namespace

TEST(LineReader, Utf16MarkMakesTheInputUtf16EitherByteOrder)
{
    const std::initializer_list<char16_t> units = {u'A', u',', 0xE9, u'\r', u'\n', 0x20AC, 0xD83D, 0xDE00,
                                                   u'"', 0xDC00, u'\r', u'x', 0xD800};
    const std::string expected = "A,\xE9\n\x80\x81\"\x81\nx\x81";
    for (const bool low_first : {true, false}) {
        const std::string bytes = (low_first ? "\xFF\xFE" : "\xFE\xFF") + utf16(units, low_first);
        for (const std::size_t size : {LineReader::default_buffer_size, std::size_t{4}, std::size_t{5}})
            EXPECT_EQ(read_all(bytes, size), model(expected)) << low_first << " buffer " << size;
        // A last odd byte is one unmappable byte more.
        EXPECT_EQ(read_all(bytes + "Z", 5), model(expected + "\x81")) << low_first;
    }
}
