#include "extract.h"

#include "charclass.h"
#include "listing.h"

namespace {

using extract_detail::plain_bytes;

// Adds the characters from text[pos] up to the delimiter or the end of the
// text to field, by the rules for blanks, leading backslashes and invalid
// characters; pos is left on the delimiter or the end.
void take_until(std::string& field, const char* text, std::size_t& pos, std::size_t end, char delimiter,
                const ExtractContext& ctx, ExtractFlags& flags, Listing& listing)
{
    while (pos < end) {
        std::size_t run = pos;
        while (run < end && plain_bytes[static_cast<unsigned char>(text[run])])
            ++run;
        if (run != pos) {
            field.append(text + pos, run - pos);
            pos = run;
            if (pos == end)
                break;
        }
        const char ch = text[pos];
        if (ch == delimiter)
            break;
        ++pos;
        if (ch == ' ') {
            // Leading blanks (inside quotes) are dropped, runs keep one.
            if (!field.empty() && field.back() != ' ')
                field += ' ';
        } else if (ch == '\\') {
            if (!field.empty())
                field += ch;  // leading backslashes are dropped
        } else {
            // The header rows are checked by their own rules; a stray byte
            // there only marks the field.
            if (!charclass::isvalid(static_cast<unsigned char>(ch))) {
                if (!ctx.header_row)
                    listing.report(msg::invalid_character, ctx.n, ch);
                flags.extract_err = true;
            }
            field += ch;  // a comma inside quotes, a quote outside them, or an invalid byte
        }
    }
}

}  // namespace

void extract_detail::extract_full(std::string& field, const std::string& line, std::size_t& pos,
                                  std::size_t width, const ExtractContext& ctx, ExtractFlags& flags,
                                  Listing& listing)
{
    const char* const text = line.data();
    const std::size_t end = line.size();
    if (pos > end)
        pos = end;
    field.clear();

    while (pos < end && text[pos] == ' ')
        ++pos;

    char delimiter = ',';
    if (pos < end && text[pos] == '"') {
        delimiter = '"';
        ++pos;
    }

    for (;;) {
        take_until(field, text, pos, end, delimiter, ctx, flags, listing);
        if (pos == end)
            break;
        ++pos;  // over the delimiter
        if (delimiter == ',')
            break;
        if (pos < end && text[pos] == '"') {
            field += '"';  // a doubled quote inside quotes stands for one
            ++pos;
        } else {
            // The quoted part is over; whatever follows up to the comma
            // still belongs to this field.
            delimiter = ',';
        }
    }
    while (!field.empty() && field.back() == ' ')
        field.pop_back();  // trailing blanks

    if (delimiter == '"') {
        listing.report(msg::incomplete_field, ctx.n);
        flags.extract_err = true;
    }

    if (field.size() > width) {
        listing.report(msg::field_too_long, ctx.n, field, field.size() - width, width);
        field.resize(width);
        flags.extract_err = true;
    }

    if (field.size() == 1 && field[0] == '/')
        field[0] = '-';
    if (!field.empty())
        flags.extract_content = true;
}

std::string extract(const std::string& line, std::size_t& pos, std::size_t width, const ExtractContext& ctx,
                    ExtractFlags& flags, Listing& listing)
{
    std::string field;
    extract_into(field, line, pos, width, ctx, flags, listing);
    return field;
}
