// The line reader, the row reader and the field extractor on arbitrary bytes.
//
// Input: byte 0 picks the field width, whether the rows count as header rows
// (no invalid-character messages), the layout (which row the row reader takes
// as the reference for the cells of a joined row), the reader's buffer size
// (small ones cut lines and characters at every place) and whether the file is
// given a UTF-8 byte-order mark; the rest is the file. Properties:
//   - the lines put together are the file with CR LF and lone CR turned into
//     LF, decoded as plain per-character decoders do it: after a UTF-8 mark
//     from UTF-8, after FF FE or FE FF from UTF-16, without a mark from UTF-8
//     when the first byte of 0x80 or above begins a well-formed character,
//     else byte for byte; a line holds no CR and at most one LF, at its end,
//     and only the last line may lack it, however long it is; the reader
//     stops, and stays stopped, at the end;
//   - the rows are the lines joined as a plain model of the spreadsheet's
//     rows joins them (a line ending inside a quoted part takes in the lines
//     up to the one that closes it, ten at most, when the cells then agree
//     with the reference row); no byte is lost: the rows put together are the
//     lines put together with one LF made a blank for each line break a row
//     took in; no row spans more than ten lines;
//   - extract, on every row, never returns a field longer than its width,
//     never moves pos backwards or past the end, always moves it while text
//     is left, and keeps returning empty fields at the end;
//   - the quick road for plain cells gives what the full cut gives, and so
//     does the cut of a whole plain row at its commas;
//   - every message is one "Error: row <n>, " line, each counted once in nerr,
//     and a reported field sets extract_err; a non-empty field sets
//     extract_content; no field starts with a blank or a backslash, holds two
//     blanks in a row, or is a lone "/".
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "extract.h"
#include "fuzz_support.h"
#include "linereader.h"
#include "listing.h"
#include "plainrow.h"
#include "rowreader.h"

namespace {

constexpr std::size_t widths[] = {1, 4, 6, 20, 30, 44, 50, 1023};
constexpr std::size_t buffer_sizes[] = {LineReader::default_buffer_size, 4, 5, 13};
constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

// The Windows-1252 byte of a character; 0x81 when it has none.
char cp1252_of(char32_t c)
{
    static constexpr char32_t high[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
                                          0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t h = 0; h < 32; ++h)
        if (high[h] == c)
            return static_cast<char>(0x80 + h);
    return '\x81';
}

// The UTF-8 character at text[i], plainly: a lead byte, the continuation
// bytes it asks for, then the code point's range. Its length, 0 when it is
// not a well-formed character.
std::size_t utf8_character(std::string_view text, std::size_t i, char32_t& c)
{
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t length = b < 0x80 ? 1 : b >= 0xF0 && b < 0xF8 ? 4 : b >= 0xE0 && b < 0xF0 ? 3
                                            : b >= 0xC0 && b < 0xE0  ? 2 : 0;
    c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
    bool whole = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; whole && k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        whole = (next & 0xC0) == 0x80;
        c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    whole = whole && c >= least[length] && !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
    return whole ? length : 0;
}

// UTF-8 to Windows-1252 one character at a time; anything that fails is one
// 0x81 for its first byte, and decoding goes on at the next.
std::string windows_1252(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = utf8_character(text, i, c);
        out += length == 0 ? '\x81' : cp1252_of(c);
        i += length == 0 ? 1 : length;
    }
    return out;
}

// UTF-16 to Windows-1252 one unit at a time: a surrogate pair, an unpaired
// surrogate and a last odd byte are each one 0x81.
std::string windows_1252_from_utf16(std::string_view text, bool low_first)
{
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(text[i]), b = static_cast<unsigned char>(text[i + 1]);
        return static_cast<char32_t>(low_first ? a | (b << 8) : (a << 8) | b);
    };
    std::string out;
    std::size_t i = 0;
    for (; i + 1 < text.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < text.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF)
            i += 2;
        out += u >= 0xD800 && u <= 0xDFFF ? '\x81' : cp1252_of(u);
    }
    if (i < text.size())
        out += '\x81';
    return out;
}

// The file's text as the reader must deliver it (line ends aside).
std::string decoded(std::string_view file)
{
    if (file.starts_with("\xEF\xBB\xBF"))
        return windows_1252(file.substr(3));
    if (file.starts_with("\xFF\xFE") || file.starts_with("\xFE\xFF"))
        return windows_1252_from_utf16(file.substr(2), file[0] == '\xFF');
    std::size_t high = 0;
    while (high < file.size() && static_cast<unsigned char>(file[high]) < 0x80)
        ++high;
    char32_t c = 0;
    if (high < file.size() && utf8_character(file, high, c) > 0)
        return std::string(file.substr(0, high)) + windows_1252(file.substr(high));
    return std::string(file);
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

// A row's text read from its start by the field cutter's quote rules.
struct Quotes {
    bool open = false;
    std::size_t cells = 1;
};

Quotes quotes_of(std::string_view row)
{
    Quotes q;
    bool cell_start = true;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (q.open) {
            if (row[i] == '"' && i + 1 < row.size() && row[i + 1] == '"')
                ++i;
            else if (row[i] == '"')
                q.open = false;
        } else if (row[i] == ',') {
            ++q.cells;
            cell_start = true;
        } else if (cell_start && row[i] != ' ') {
            cell_start = false;
            q.open = row[i] == '"';
        }
    }
    return q;
}

struct Row {
    std::string text;
    int breaks;
    bool operator==(const Row&) const = default;
};

// The spreadsheet's rows made of the lines (each with its LF, but perhaps the
// last), plainly: each row tried from its first line by reading the whole
// joined text again after every line taken in.
std::vector<Row> model_rows(const std::vector<std::string>& lines, bool all)
{
    const auto text = [](const std::string& line) {
        return line.empty() || line.back() != '\n' ? line : line.substr(0, line.size() - 1);
    };
    std::vector<Row> rows;
    std::size_t reference = 0;
    for (std::size_t i = 0; i < lines.size();) {
        std::string joined = text(lines[i]);
        std::size_t taken = 1;
        for (std::size_t k = 1; k < 10 && i + k < lines.size() && quotes_of(joined).open; ++k) {
            joined += " " + text(lines[i + k]);
            const Quotes q = quotes_of(joined);
            if (!q.open && (reference == 0 || q.cells == reference))
                taken = k + 1;
        }
        Row row{lines[i], 0};
        if (taken > 1)
            row = {joined + (lines[i + taken - 1].back() == '\n' ? "\n" : ""), static_cast<int>(taken - 1)};
        const std::string row_text = text(row.text);
        if (!all && rows.size() == 1)
            reference = quotes_of(row_text).cells;
        if (all && reference == 0 && taken == 1 && !row_text.empty() && !quotes_of(row_text).open)
            reference = quotes_of(row_text).cells;
        rows.push_back(row);
        i += taken;
    }
    return rows;
}

// The rows the row reader makes; each is cut into fields and checked.
std::vector<Row> read_rows(const std::string& file, std::size_t buffer_size, bool all, std::size_t width,
                           bool header_row, Listing& listing, fuzz::MemoryStream& listing_text)
{
    std::FILE* in = fuzz::open_bytes(file);
    FUZZ_CHECK(in != nullptr, "open_bytes");
    std::vector<Row> rows;
    {
        LineReader lines(in, buffer_size);
        RowReader reader(lines, all ? RowReader::Layout::all : RowReader::Layout::ss_cens);
        std::string row;
        while (reader.next(row)) {
            FUZZ_CHECK(!reader.failed(), "read error on a memory stream");
            FUZZ_CHECK(reader.breaks() >= 0 && reader.breaks() < RowReader::most_lines, fuzz::escaped(row));
            rows.push_back({row, reader.breaks()});
            if (!row.empty() && row.back() == '\n')
                row.pop_back();
            const int n = static_cast<int>(rows.size());
            check_fields(row, n, width, header_row, listing, listing_text);
            check_plain_row(row, n);
        }
        FUZZ_CHECK(row.empty() && reader.eof(), "the end of input gave a row <" + fuzz::escaped(row) + ">");
    }
    std::fclose(in);
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t control = data[0];
    const std::size_t width = widths[control & 0x07];
    const bool header_row = (control & 0x08) != 0;
    const bool all = (control & 0x10) != 0;
    const std::size_t buffer_size = buffer_sizes[(control >> 5) & 3];
    std::string file = (control & 0x80) ? std::string(byte_order_mark) : std::string();
    file.append(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::FILE* in = fuzz::open_bytes(file);
    FUZZ_CHECK(in != nullptr, "open_bytes");
    std::vector<std::string> lines;
    {
        LineReader reader(in, buffer_size);
        std::string line;
        while (reader.fgetm(line)) {
            FUZZ_CHECK(lines.size() < file.size(), "more lines than bytes");
            FUZZ_CHECK(!line.empty(), "a successful read gave an empty line");
            FUZZ_CHECK(line.find('\r') == std::string::npos, fuzz::escaped(line));
            const std::size_t lf = line.find('\n');
            FUZZ_CHECK(lf == std::string::npos || lf == line.size() - 1, fuzz::escaped(line));
            if (lf == std::string::npos)
                FUZZ_CHECK(reader.eof(), "a line without LF before the end: " + fuzz::escaped(line));
            FUZZ_CHECK(!reader.failed(), "read error on a memory stream");
            lines.push_back(line);
        }
        FUZZ_CHECK(line.empty() && reader.eof(), "the end of input gave text <" + fuzz::escaped(line) + ">");
        FUZZ_CHECK(!reader.fgetm(line) && line.empty() && reader.eof(), "read past the end");
    }
    std::fclose(in);

    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    const std::string expected = with_unix_line_ends(decoded(file));
    FUZZ_CHECK(joined == expected, "lines <" + fuzz::escaped(joined) + "> file <" + fuzz::escaped(expected) + ">");

    fuzz::MemoryStream listing_text;
    Listing listing(false, false);
    listing.attach(listing_text.stream());
    const std::vector<Row> rows = read_rows(file, buffer_size, all, width, header_row, listing, listing_text);

    // No byte lost: the rows hold the lines' bytes, a blank for each LF taken in.
    std::string row_bytes;
    int breaks = 0;
    for (const Row& row : rows) {
        row_bytes += row.text;
        breaks += row.breaks;
    }
    FUZZ_CHECK(row_bytes.size() == joined.size(), "rows <" + fuzz::escaped(row_bytes) + ">");
    int blanked = 0;
    for (std::size_t i = 0; i < joined.size(); ++i) {
        if (row_bytes[i] == joined[i])
            continue;
        FUZZ_CHECK(joined[i] == '\n' && row_bytes[i] == ' ', "rows <" + fuzz::escaped(row_bytes) + ">");
        ++blanked;
    }
    FUZZ_CHECK(blanked == breaks, "rows <" + fuzz::escaped(row_bytes) + ">");
    FUZZ_CHECK(rows == model_rows(lines, all), "rows <" + fuzz::escaped(row_bytes) + "> differ from the model");

    const std::string all_text = listing_text.text();
    FUZZ_CHECK(fuzz::count_lines_starting(all_text, "Error: ") == listing.nerr(), fuzz::escaped(all_text));
    FUZZ_CHECK(listing.nwarn() == 0, "extract wrote a warning");
    return 0;
}
