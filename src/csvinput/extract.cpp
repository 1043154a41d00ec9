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

    std::string kept;  // the field as built, before it is held to its width
    for (;;) {
        while (pos < end && text[pos] != delimiter) {
            const char ch = text[pos];
            if (ch == ' ') {
                // Leading blanks (inside quotes) are dropped, runs keep one.
                ++pos;
                if (!kept.empty() && kept.back() != ' ')
                    kept += ' ';
            } else if (kept.empty() && ch == '\\') {
                ++pos;  // leading backslashes are dropped
            } else if (!valid[static_cast<unsigned char>(ch)]) {
                // The header rows are checked by their own rules; a stray
                // byte there only marks the field.
                if (!ctx.header_row)
                    listing.error("Error: row %d, field contains an invalid character <%c>\n", ctx.n, ch);
                flags.extract_err = true;
                kept += ch;
                ++pos;
            } else {
                kept += ch;
                ++pos;
            }
        }
        if (pos == end)
            break;
        ++pos;  // over the delimiter
        if (delimiter == ',')
            break;
        if (pos < end && text[pos] == '"') {
            kept += '"';  // a doubled quote inside quotes stands for one
            ++pos;
        } else {
            // The quoted part is over; whatever follows up to the comma
            // still belongs to this field.
            delimiter = ',';
        }
    }
    while (!kept.empty() && kept.back() == ' ')
        kept.pop_back();  // trailing blanks

    if (delimiter == '"') {
        listing.error("Error: row %d, ends with incomplete field\n", ctx.n);
        flags.extract_err = true;
    }

    if (kept.size() > width) {
        listing.error("Error: row %d, field too long <%s>, truncated by %d to %d characters in the output file\n",
                      ctx.n, kept, kept.size() - width, width);
        kept.resize(width);
        flags.extract_err = true;
    }

    if (kept == "/")
        kept = "-";
    if (!kept.empty())
        flags.extract_content = true;
    return kept;
}
