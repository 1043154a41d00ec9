#include "extract.h"

#include <string_view>

#include "charclass.h"
#include "listing.h"

namespace {

// isvalid for every byte, looked up once: extract tests every character of
// every cell.
struct ValidBytes {
    bool valid[256];
    ValidBytes()
    {
        for (int c = 0; c < 256; ++c)
            valid[c] = charclass::isvalid(static_cast<unsigned char>(c));
    }
};

}  // namespace

std::string extract(const std::string& line, std::size_t& pos, std::size_t width,
                    const ExtractContext& ctx, ExtractFlags& flags, Listing& listing)
{
    static const ValidBytes valid_bytes;
    const bool* const valid = valid_bytes.valid;
    const char* const text = line.data();
    const std::size_t end = line.size();
    if (pos > end)
        pos = end;

    while (pos < end && text[pos] == ' ')
        ++pos;

    char delimiter = ',';
    if (pos < end && text[pos] == '"') {
        delimiter = '"';
        ++pos;
    }

    // The field is built in a scratch buffer that only ever grows, so that
    // cutting a row costs no allocation beyond the returned texts. A field
    // never holds more characters than remain of the line (a doubled quote
    // gives one for two).
    static thread_local std::string hold;
    if (hold.size() < end - pos)
        hold.resize(end - pos);
    char* const kept = hold.data();
    std::size_t i = 0;
    for (;;) {
        while (pos < end && text[pos] != delimiter) {
            const char ch = text[pos];
            if (ch == ' ') {
                // Leading blanks (inside quotes) are dropped, runs keep one.
                ++pos;
                if (i != 0 && kept[i - 1] != ' ')
                    kept[i++] = ' ';
            } else if (i == 0 && ch == '\\') {
                ++pos;  // leading backslashes are dropped
            } else if (!valid[static_cast<unsigned char>(ch)]) {
                // The header rows are checked by their own rules; a stray
                // byte there only marks the field.
                if (!ctx.header_row)
                    listing.error("Error: row %d, field contains an invalid character <%c>\n", ctx.n, ch);
                flags.extract_err = true;
                kept[i++] = ch;
                ++pos;
            } else {
                kept[i++] = ch;
                ++pos;
            }
        }
        if (pos == end)
            break;
        ++pos;  // over the delimiter
        if (delimiter == ',')
            break;
        if (pos < end && text[pos] == '"') {
            kept[i++] = '"';  // a doubled quote inside quotes stands for one
            ++pos;
        } else {
            // The quoted part is over; whatever follows up to the comma
            // still belongs to this field.
            delimiter = ',';
        }
    }
    while (i > 0 && kept[i - 1] == ' ')
        --i;  // trailing blanks

    if (delimiter == '"') {
        listing.error("Error: row %d, ends with incomplete field\n", ctx.n);
        flags.extract_err = true;
    }

    if (i > width) {
        listing.error("Error: row %d, field too long <%s>, truncated by %d to %d characters in the output file\n",
                      ctx.n, std::string_view(kept, i), i - width, width);
        i = width;
        flags.extract_err = true;
    }

    if (i == 1 && kept[0] == '/')
        kept[0] = '-';
    if (i != 0)
        flags.extract_content = true;
    return std::string(kept, i);
}
