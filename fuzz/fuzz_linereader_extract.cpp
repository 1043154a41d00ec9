// The line reader and the field extractor on arbitrary bytes.
//
// Input: byte 0 picks the field width, whether the rows count as header rows
// (no invalid-character messages), the reader's buffer size (small ones cut
// lines and UTF-8 sequences at every place) and whether the file is given a
// UTF-8 byte-order mark; the rest is the file. Properties:
//   - the lines put together are the file with CR LF and lone CR turned into
//     LF, after a byte-order mark is dropped and the text after it converted
//     to Windows-1252 (checked against a plain per-character decoder); a line
//     holds no CR and at most one LF, at its end, and only the last line may
//     lack it, however long it is; the reader stops, and stays stopped, at the
//     end;
//   - extract never returns a field longer than its width, never moves pos
//     backwards or past the end, always moves it while text is left, and
//     keeps returning empty fields at the end;
//   - the quick road for plain cells gives what the full cut gives, and so
//     does the cut of a whole plain row at its commas;
//   - every message is one "Error: row <n>, " line, each counted once in nerr,
//     and a reported field sets extract_err; a non-empty field sets
//     extract_content; no field starts with a blank or a backslash, holds two
//     blanks in a row, or is a lone "/".
#include <cstddef>
#include <cstdint>
#include <string>

#include "extract.h"
#include "fuzz_support.h"
#include "linereader.h"
#include "listing.h"
#include "plainrow.h"

namespace {

constexpr std::size_t widths[] = {1, 3, 4, 5, 6, 20, 24, 30, 44, 50, 1023, 4, 30, 20, 6, 44};
constexpr std::size_t buffer_sizes[] = {LineReader::default_buffer_size, 4, 5, 13};
constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

// UTF-8 to Windows-1252 one character at a time, the plain way: a lead byte,
// the continuation bytes it asks for, then the code point's range. Anything
// that fails is one 0x81 for its first byte, and decoding goes on at the next.
std::string windows_1252(std::string_view text)
{
    static constexpr char32_t high[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
                                          0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const std::size_t length = b < 0x80 ? 1 : b >= 0xF0 && b < 0xF8 ? 4 : b >= 0xE0 && b < 0xF0 ? 3
                                                : b >= 0xC0 && b < 0xE0  ? 2 : 0;
        char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
        bool whole = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; whole && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            whole = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        whole = whole && c >= least[length] && !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
        if (!whole) {
            out += '\x81';
            ++i;
            continue;
        }
        char byte = '\x81';
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
            byte = static_cast<char>(c);
        for (std::size_t h = 0; h < 32; ++h)
            if (c >= 0x80 && high[h] == c)
                byte = static_cast<char>(0x80 + h);
        out += byte;
        i += length;
    }
    return out;
}

std::string with_unix_line_ends(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            out += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            out += bytes[i];
        }
    }
    return out;
}

// A row found plain is cut at its commas: every cell must be what the full
// cut gives, with nothing to report (a lone "/" is left to the full cut).
void check_plain_row(const std::string& line, int n)
{
    const PlainRow row(line);
    if (!row.plain())
        return;
    Listing quiet;
    ExtractFlags flags;
    std::size_t pos = 0;
    for (std::size_t cell = 0; cell < PlainRow::most_cells; ++cell) {
        std::string full;
        extract_detail::extract_full(full, line, pos, line.size() + 1, ExtractContext{n, false}, flags, quiet);
        const std::string plain = line.substr(row.start(cell), row.length(cell));
        FUZZ_CHECK(plain == full || plain == "/",
                   "plain row <" + fuzz::escaped(line) + "> cell " + std::to_string(cell) + " <" + fuzz::escaped(plain) +
                       "> full cut <" + fuzz::escaped(full) + ">");
    }
    FUZZ_CHECK(quiet.nerr() == 0 && !flags.extract_err, "plain row <" + fuzz::escaped(line) + "> reported");
}

void check_fields(const std::string& line, int n, std::size_t width, bool header_row, Listing& listing,
                  fuzz::MemoryStream& listing_text)
{
    ExtractFlags flags;
    std::size_t pos = 0;
    std::size_t listed = listing_text.view().size();
    for (std::size_t call = 0; call <= line.size() + 1; ++call) {
        const std::size_t before = pos;
        const int nerr_before = listing.nerr();
        const std::string field = extract(line, pos, width, ExtractContext{n, header_row}, flags, listing);
        const std::string_view all = listing_text.view();
        const std::string added(all.substr(listed));
        listed = all.size();
        // Built only when a check fails.
        const auto where = [&] {
            return "row " + std::to_string(n) + " <" + fuzz::escaped(line) + "> call " + std::to_string(call) +
                   " width " + std::to_string(width) + " field <" + fuzz::escaped(field) + ">";
        };

        FUZZ_CHECK(field.size() <= width, where());
        FUZZ_CHECK(pos >= before && pos <= line.size(), where() + " pos " + std::to_string(pos));
        if (before < line.size())
            FUZZ_CHECK(pos > before, where());
        else
            FUZZ_CHECK(field.empty(), where());
        FUZZ_CHECK(field.find('\n') == std::string::npos, where());
        FUZZ_CHECK(field != "/", where());
        if (!field.empty()) {
            FUZZ_CHECK(flags.extract_content, where());
            FUZZ_CHECK(field[0] != ' ' && field[0] != '\\', where());
        }
        FUZZ_CHECK(field.find("  ") == std::string::npos, where());

        const int reported = listing.nerr() - nerr_before;

        // Plain cells are taken by a quicker road; the full cut must give the
        // same field, position and findings for every cell.
        Listing full_listing;
        ExtractFlags full_flags;
        std::size_t full_pos = before;
        std::string full_field;
        extract_detail::extract_full(full_field, line, full_pos, width, ExtractContext{n, header_row}, full_flags,
                                     full_listing);
        FUZZ_CHECK(full_field == field && full_pos == pos, where() + " full cut <" + fuzz::escaped(full_field) + ">");
        FUZZ_CHECK(full_listing.nerr() == reported && full_flags.extract_content == !field.empty(), where());
        const std::string row_prefix = "Error: row " + std::to_string(n) + ", ";
        FUZZ_CHECK(fuzz::count_lines_starting(added, "Error: ") == reported,
                   where() + " listing <" + fuzz::escaped(added) + ">");
        FUZZ_CHECK(fuzz::count_lines_starting(added, row_prefix) == reported, where());
        FUZZ_CHECK(added.empty() || added.back() == '\n', where());
        if (reported > 0)
            FUZZ_CHECK(flags.extract_err, where());
        if (header_row)
            FUZZ_CHECK(fuzz::count_lines_starting(added, row_prefix + "field contains an invalid character") == 0,
                       where());
        const bool cut = fuzz::count_lines_starting(added, row_prefix + "field too long") > 0;
        if (!field.empty() && !cut)
            FUZZ_CHECK(field.back() != ' ', where());
        if (before >= line.size())
            break;
    }
    // At the end every further call gives the empty field and leaves pos alone.
    const std::size_t end = pos;
    FUZZ_CHECK(end == line.size(), "row " + std::to_string(n) + " pos stopped short");
    const std::string more = extract(line, pos, width, ExtractContext{n, header_row}, flags, listing);
    FUZZ_CHECK(more.empty() && pos == end, "row " + std::to_string(n));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t control = data[0];
    const std::size_t width = widths[control & 0x0f];
    const bool header_row = (control & 0x10) != 0;
    const std::size_t buffer_size = buffer_sizes[(control >> 5) & 3];
    std::string file = (control & 0x80) ? std::string(byte_order_mark) : std::string();
    file.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    const bool utf8 = file.starts_with(byte_order_mark);

    std::FILE* in = fuzz::open_bytes(file);
    FUZZ_CHECK(in != nullptr, "open_bytes");
    fuzz::MemoryStream listing_text;
    Listing listing(false, false);
    listing.attach(listing_text.stream());

    std::string joined;
    {
        LineReader reader(in, buffer_size);
        std::string line;
        int n = 0;
        std::size_t reads = 0;
        while (reader.fgetm(line)) {
            ++reads;
            FUZZ_CHECK(reads <= file.size(), "more lines than bytes");
            FUZZ_CHECK(!line.empty(), "a successful read gave an empty line");
            FUZZ_CHECK(line.find('\r') == std::string::npos, fuzz::escaped(line));
            const std::size_t lf = line.find('\n');
            FUZZ_CHECK(lf == std::string::npos || lf == line.size() - 1, fuzz::escaped(line));
            if (lf == std::string::npos)
                FUZZ_CHECK(reader.eof(), "a line without LF before the end: " + fuzz::escaped(line));
            FUZZ_CHECK(!reader.failed(), "read error on a memory stream");
            FUZZ_CHECK(reader.utf8() == utf8, "byte-order mark not recognised");
            joined += line;

            std::string row = line;
            if (lf != std::string::npos)
                row.resize(lf);
            check_fields(row, ++n, width, header_row, listing, listing_text);
            check_plain_row(row, n);
        }
        FUZZ_CHECK(line.empty() && reader.eof(), "the end of input gave text <" + fuzz::escaped(line) + ">");
        FUZZ_CHECK(!reader.fgetm(line) && line.empty() && reader.eof(), "read past the end");
    }
    std::fclose(in);

    const std::string expected = with_unix_line_ends(
        utf8 ? windows_1252(std::string_view(file).substr(byte_order_mark.size())) : file);
    FUZZ_CHECK(joined == expected, "lines <" + fuzz::escaped(joined) + "> file <" + fuzz::escaped(expected) + ">");
    const std::string all = listing_text.text();
    FUZZ_CHECK(fuzz::count_lines_starting(all, "Error: ") == listing.nerr(), fuzz::escaped(all));
    FUZZ_CHECK(listing.nwarn() == 0, "extract wrote a warning");
    return 0;
}
