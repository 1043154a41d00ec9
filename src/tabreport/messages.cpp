#include "messages.h"

#include <cctype>

namespace tabreport {

namespace {

using F = rowchecks::Field;
constexpr Place cut = Place::cut_cell, query = Place::query_cell, row = Place::row, piece = Place::piece;
constexpr Place col = Place::column;

// Grouped by the stage that writes them, in the order of a row's road.
constexpr Message table[] = {
    // Code tables and header rows.
    {"Warning: Aux file %s failed to open, county code checking disabled\n\n", piece},
    {"Warning: Too many counties in aux file, county code checking disabled\n\n", piece},
    {"Warning: Aux file %s failed to open, relationship code checking disabled\n\n", piece},
    {"Warning: Too many relationships in aux file, relationship code checking disabled\n\n", piece},
    {"Warning: Cell A1 doesn't contain a valid piece number\n\n", piece},
    {"Warning: cell B1 contains a non-numeric book number %s\n\n", piece},
    {"Warning: ENG 1841 book number %s in cell B1 ignored for SCT piece\n\n", piece},
    {"Warning: 1841 book number %s in cell B1 ignored for %d piece\n\n", piece},
    {"Warning: Old format file, Book numbers not in use\n", piece},
    {"Warning: Book numbers not set\n", piece},

    // Reading a row and its question marks.
    {"Warning: row %d, line break inside a cell replaced by a blank\n", row},
    {"Error: row %d, field contains an invalid character <%c>\n", cut},
    {"Error: row %d, ends with incomplete field\n", cut},
    {"Error: row %d, field too long <%s>, truncated by %d to %d characters in the output file\n", cut},
    {"Warning: row %d, trailing \"?\" removed.\n", query},
    {"Warning: row %d, trailing \"?\" removed and flag set.\n", query},
    {"Warning: row %d, \"?\" detected, flag set.\n", query},
    {"Warning: row %d blank, ignored\n", row},
    {"Warning: row %d, is marked DELETED\n", col, F::notes},

    // Household and location.
    {"Error: row %d, household number = %s not numeric\n", col, F::household},
    {"Error: row %d, household number = 0 not valid\n", col, F::household},
    {"Warning: row %d, household member number blank\n", col, F::member},
    {"Error: row %d, household member number = %s not numeric\n", col, F::member},
    {"Warning: row %d, household member number = 0 not valid\n", col, F::member},
    {"Info: row %d, household number = %s not sequential\n", col, F::household},
    {"Warning: row %d, household member number = %s not sequential\n", col, F::member},
    {"Error: row %d, ED > 3 digits\n", col, F::ed},
    {"Error: row %d, folio/SCT book > 4 digits\n", col, F::folio},
    {"Warning: row %d, initial household number = %s\n", col, F::household},
    {"Warning: row %d, initial household member number = %s\n", col, F::member},
    {"Error: row %d, initial civil parish name not set\n", col, F::parish},
    {"Error: row %d, initial ED not set\n", col, F::ed},
    {"Error: row %d, initial folio number not set\n", col, F::folio},
    {"Error: row %d, initial page number not set\n", col, F::page},
    {"Error: row %d, initial schedule number not set\n", col, F::schedule},
    {"Error: row %d, ED = %s not numeric\n", col, F::ed},
    {"Error: row %d, ED suffix = %c not alphanumeric\n", col, F::ed},
    {"Error: row %d, folio/SCT book = %s not numeric\n", col, F::folio},
    {"Error: row %d, folio/SCT book suffix = %c not alphabetic\n", col, F::folio},
    {"Error: row %d, page number = %s not numeric\n", col, F::page},
    {"Warning: row %d, parish = %s contains unusual characters\n", col, F::parish},
    {"Error: row %d, civil parish name missing\n", col, F::parish},
    {"Warning: row %d, Eccl. District = %s contains unusual characters\n", col, F::district},
    {"Warning: row %d, Eccl. District name missing\n", col, F::district},

    // Sequence and page continuity.
    {"Warning: row %d, ED = %s not sequential\n", col, F::ed},
    {"Warning: row %d, first page of ED = %s\n", col, F::page},
    {"Warning: row %d, folio/SCT book = 0\n", col, F::folio},
    {"Warning: row %d, excessive gap before folio %s\n", col, F::folio},
    {"Warning: row %d, too many pages on folio %s\n", col, F::page},
    {"Warning: row %d, civil parish has changed in the middle of a page\n", col, F::parish},
    {"Warning: row %d, Eccl. District has changed in the middle of a page\n", col, F::district},
    {"Warning: row %d, folio/SCT book has changed in the middle of a page\n", col, F::folio},
    {"Warning: row %d, Book number has changed in the middle of a page\n", col, F::book},
    {"Warning: row %d, possibly too many lines on page %s\n", col, F::page},
    {"Warning: row %d, page number = %s not sequential\n", col, F::page},
    {"Warning: row %d, folio number = %s not sequential\n", col, F::folio},
    {"Warning: row %d, book number = %s not numeric\n", col, F::book},
    {"Warning: row %d, Book number = %s not sequential\n", col, F::book},

    // Buildings, schedules and houses.
    {"Warning: row %d, uninhabited flag = %s invalid value\n", col, F::uninhabited},
    {"Error: row %d, the first record after an uninhabited building must be a new household\n", col,
     F::schedule},
    {"Warning: row %d, uninhabited flag = %s but not new household\n", col, F::uninhabited},
    {"Error: row %d, house number > 4 digits\n", col, F::house},
    {"Error: row %d, schedule number = %s not numeric\n", col, F::schedule},
    {"Error: row %d, schedule suffix = %c not alphabetic\n", col, F::schedule},
    {"Warning: row %d, first schedule of ED = %s\n", col, F::schedule},
    {"Error: row %d, schedule number changed in middle of household\n", col, F::schedule},
    {"Warning: row %d, consecutive schedule numbers (%s) are the same\n", col, F::schedule},
    {"Warning: row %d, schedule number = %s not sequential\n", col, F::schedule},
    {"Error: row %d, house number = %s not numeric\n", col, F::house},
    {"Info: row %d, address missing\n", col, F::address},
    {"Warning: row %d, house number has changed in the middle of a household\n", col, F::house},
    {"Warning: row %d, address has changed in the middle of a household\n", col, F::address},
    {"Error: row %d, schedule > 1999, \n", col, F::schedule},

    // Names, relationship and condition.
    {"Warning: row %d, surname = %s contains unusual characters\n", col, F::surname},
    {"Warning: row %d, surname missing\n", col, F::surname},
    {"Warning: row %d, forename(s) = %s contains unusual characters\n", col, F::forenames},
    {"Warning: row %d, forename(s) missing\n", col, F::forenames},
    {"Warning: row %d, name flag = %s invalid value\n", col, F::name_flag},
    {"Warning: row %d, relationship = %s contains unusual characters\n", col, F::relationship},
    {"Warning: row %d, relationship missing\n", col, F::relationship},
    {"Warning: row %d, unrecognised relationship code %s\n", col, F::relationship},
    {"Warning: row %d, Head of household is not the first entry in the schedule\n", col, F::relationship},
    {"Warning: row %d, condition = %s invalid value\n", col, F::condition},
    {"Info: row %d, relationship ignored\n", col, F::relationship},
    {"Info: row %d, condition ignored\n", col, F::condition},

    // Sex and age.
    {"Warning: row %d, sex marker missing\n", col, F::sex},
    {"Error: row %d, sex = %s invalid value\n", col, F::sex},
    {"Warning: row %d, age missing\n", col, F::age},
    {"Error: row %d, age = %s not numeric\n", col, F::age},
    {"Warning: row %d, zero age\n", col, F::age},
    {"Warning: row %d, age more than 120y\n", col, F::age},
    {"Warning: row %d, age more than 24m\n", col, F::age},
    {"Warning: row %d, age more than 20w\n", col, F::age},
    {"Warning: row %d, age more than 30d\n", col, F::age},
    {"Warning: row %d, age units = %c invalid value\n", col, F::age},
    {"Warning: row %d, married/widowed person age under 14y\n", col, F::age},
    {"Warning: row %d, detail flag = %s invalid value\n", col, F::detail_flag},

    // Occupation, birth place, disability and language.
    {"Error: row %d, no room for employed status in occupation field\n", col, F::occupation},
    {"Warning: row %d, employed status = %s invalid value\n", col, F::employed},
    {"Info: row %d, employed status ignored\n", col, F::employed},
    {"Warning: row %d, occupation flag = %s invalid value\n", col, F::occupation_flag},
    {"Warning: row %d, county code missing\n", col, F::county},
    {"Warning: row %d, county code = %s invalid length\n", col, F::county},
    {"Warning: row %d, unrecognised county code %s\n", col, F::county},
    {"Warning: row %d, birth place = %s contains unusual characters\n", col, F::birthplace},
    {"Info: row %d, birth place missing\n", col, F::birthplace},
    {"Info: row %d, birth place ignored\n", col, F::birthplace},
    {"Warning: row %d, birth place flag = %s invalid value\n", col, F::birthplace_flag},
    {"Warning: row %d, alternate county code = %s invalid length\n", col, F::alt_county},
    {"Warning: row %d, unrecognised alternate county code %s\n", col, F::alt_county},
    {"Warning: row %d, alternate birth place = %s contains unusual characters\n", col, F::alt_birthplace},
    {"Info: row %d, alternate birth place ignored\n", col, F::alt_birthplace},
    {"Warning: row %d, disability = %s contains unusual characters\n", col, F::disability},
    {"Info: row %d, disability ignored\n", col, F::disability},
    {"Warning: row %d, language = <%s> invalid value\n", col, F::language},
    {"Info: row %d, Language ignored\n", col, F::language},

    // The output record.
    {"Error: row %d, household number = %s too large for the output record\n", col, F::household},
    {"Error: row %d, household member number = %s too large for the output record\n", col, F::member},
};

std::string_view without_line_ends(std::string_view format)
{
    while (!format.empty() && format.back() == '\n')
        format.remove_suffix(1);
    return format;
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// Matches line from li against format from fi; %s tries every length, the
// shortest first.
bool match_from(std::string_view line, std::size_t li, std::string_view format, std::size_t fi)
{
    while (fi < format.size()) {
        const char f = format[fi];
        if (f != '%' || fi + 1 >= format.size()) {
            if (li >= line.size() || line[li] != f)
                return false;
            ++li, ++fi;
            continue;
        }
        const char conversion = format[fi + 1];
        fi += 2;
        if (conversion == '%') {
            if (li >= line.size() || line[li] != '%')
                return false;
            ++li;
        } else if (conversion == 'c') {
            if (li >= line.size())
                return false;
            ++li;
        } else if (conversion == 'd') {
            if (li < line.size() && line[li] == '-')
                ++li;
            const std::size_t first = li;
            while (li < line.size() && is_digit(line[li]))
                ++li;
            if (li == first)
                return false;
        } else {
            for (std::size_t end = li; end <= line.size(); ++end)
                if (match_from(line, end, format, fi))
                    return true;
            return false;
        }
    }
    return li == line.size();
}

std::size_t fixed_length(std::string_view format)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%')
            ++i;
        else
            ++length;
    }
    return length;
}

// Where the message text starts: after "Class: " and "row %d, " (or "row %d ").
std::string_view message_text(std::string_view format)
{
    const auto colon = format.find(": ");
    if (colon != std::string_view::npos && colon < 8)
        format.remove_prefix(colon + 2);
    if (format.starts_with("row %d, "))
        format.remove_prefix(8);
    else if (format.starts_with("row %d "))
        format.remove_prefix(7);
    return format;
}

}  // namespace

std::span<const Message> messages()
{
    return table;
}

bool matches(std::string_view line, std::string_view format)
{
    return match_from(line, 0, without_line_ends(format), 0);
}

int find_message(std::string_view line)
{
    int best = -1;
    std::size_t best_length = 0;
    for (std::size_t i = 0; i < std::size(table); ++i) {
        if (!matches(line, table[i].format))
            continue;
        const std::size_t length = fixed_length(table[i].format);
        if (best < 0 || length > best_length) {
            best = static_cast<int>(i);
            best_length = length;
        }
    }
    return best;
}

std::string kind_label(std::string_view format)
{
    const std::string_view text = message_text(without_line_ends(format));
    std::string label;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool value = text[i] == '%' && i + 1 < text.size() && text[i + 1] != '%';
        if (!value) {
            label += text[i];
            continue;
        }
        ++i;
        // " = %s", "<%s>" and "(%s)" go with their value; a bare value reads "...".
        const bool bracketed = !label.empty() && (label.back() == '<' || label.back() == '(') &&
                               i + 1 < text.size() && (text[i + 1] == '>' || text[i + 1] == ')');
        if (bracketed) {
            label.pop_back();
            ++i;
        } else if (label.ends_with(" = ")) {
            label.resize(label.size() - 3);
        } else {
            label += "\x85";  // an ellipsis in Windows-1252, like every text of the report until it is written out
        }
    }
    std::string tidy;
    for (char c : label) {
        if (c == ' ' && (tidy.empty() || tidy.back() == ' '))
            continue;
        if ((c == ',' || c == '.') && !tidy.empty() && tidy.back() == ' ')
            tidy.pop_back();
        tidy += c;
    }
    while (!tidy.empty() && (tidy.back() == ' ' || tidy.back() == ','))
        tidy.pop_back();
    return tidy;
}

std::string kind_slug(std::string_view label)
{
    std::string slug;
    for (char c : label) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u) && u < 0x80)
            slug += static_cast<char>(std::tolower(u));
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return slug.empty() ? "other" : slug;
}

}  // namespace tabreport
