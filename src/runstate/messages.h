// The message catalogue: every line the converter writes to its listing,
// each defined once.
//
// An entry holds the line's text (a format of %d, %s, %c and %%), its class
// (read from the text's start: "Error: ", "Warning: ", "Info: ", "Fatal: ";
// none for the listing's plain lines), what in the piece it is about and the
// short label of its kind. A check writes a message by its name,
//     listing.report(msg::surname_unusual, n, row.surname);
// its arguments are checked against the text when compiling, and its class
// decides whether it is written and counted. The report program reads a
// listing line back as the entry it was written from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

#include "msgfmt.h"
#include "row_fields.h"

namespace msg {

// Worst first.
enum class Severity { fatal, error, warning, info, plain };

// What in the piece a message is about.
enum class Place {
    column,      // the row's cell in the entry's column (the whole row when the layout has none)
    cut_cell,    // the cell the field extractor reported while cutting the row
    query_cell,  // the cell whose question mark was taken out
    row,         // the row as a whole
    piece,       // no row: the piece, its header rows, the code tables or the run
};

using rowchecks::Field;

struct Where {
    constexpr Where(Field field) : place(Place::column), field(field) {}
    constexpr Where(Place place) : place(place) {}
    Place place;
    Field field = Field::status;  // for Place::column
};

// The messages by name, in the catalogue's order.
enum Id : unsigned char {
    // Code tables and header rows.
    aux_county_failed, too_many_counties, aux_relationship_failed, too_many_relationships, a1_not_piece,
    b1_book_not_numeric, b1_book_ignored_sct, b1_book_ignored, books_not_in_use, books_not_set,
    // Reading a row and its question marks.
    line_break_in_cell, invalid_character, incomplete_field, field_too_long, trailing_query_removed,
    trailing_query_flagged, query_flagged, blank_row, marked_deleted,
    // Household and location.
    household_not_numeric, household_zero, member_blank, member_not_numeric, member_zero,
    household_not_sequential, member_not_sequential, ed_too_long, folio_too_long, initial_household,
    initial_member, initial_parish_not_set, initial_ed_not_set, initial_folio_not_set, initial_page_not_set,
    initial_schedule_not_set, ed_not_numeric, ed_suffix_invalid, folio_not_numeric, folio_suffix_invalid,
    page_not_numeric, parish_unusual, parish_missing, district_unusual, district_missing,
    // Sequence and page continuity.
    ed_not_sequential, first_page_of_ed, folio_zero, folio_gap, too_many_pages, parish_changed_in_page,
    district_changed_in_page, folio_changed_in_page, book_changed_in_page, too_many_lines,
    page_not_sequential, folio_not_sequential, book_not_numeric, book_not_sequential,
    // Buildings, schedules and houses.
    uninhabited_invalid, household_after_uninhabited, uninhabited_not_new_household, house_too_long,
    schedule_not_numeric, schedule_suffix_invalid, first_schedule_of_ed, schedule_changed_in_household,
    schedule_repeated, schedule_not_sequential, house_not_numeric, address_missing,
    house_changed_in_household, address_changed_in_household, schedule_too_large,
    // Names, relationship and condition.
    surname_unusual, surname_missing, forenames_unusual, forenames_missing, name_flag_invalid,
    relationship_unusual, relationship_missing, relationship_unrecognised, head_not_first, condition_invalid,
    relationship_ignored, condition_ignored,
    // Sex and age.
    sex_missing, sex_invalid, age_missing, age_not_numeric, age_zero, age_over_120y, age_over_24m,
    age_over_20w, age_over_30d, age_units_invalid, married_under_14, detail_flag_invalid,
    // Occupation, birth place, disability and language.
    no_room_for_employed, employed_invalid, employed_ignored, occupation_flag_invalid, county_missing,
    county_length, county_unrecognised, birthplace_unusual, birthplace_missing, birthplace_ignored,
    birthplace_flag_invalid, alt_county_length, alt_county_unrecognised, alt_birthplace_unusual,
    alt_birthplace_ignored, disability_unusual, disability_ignored, language_invalid, language_ignored,
    // The output record.
    household_too_large, member_too_large,
    // Set-up failures.
    no_extension, not_csv, census_year_unknown, part_not_valid, part_not_numeric, piece_not_numeric,
    messages_open_failed, input_open_failed, input_read_failed, output_open_failed, output_write_failed,
    no_data, one_header_row, two_header_rows, titles_mismatch,
    // The listing's own lines.
    listing_header, run_description, row_offset, records_written, output_file,
    id_count
};

// A Fatal's shorter form for the console, when it differs from the listing's.
struct Console {
    const char* text;
};

namespace detail {

constexpr Severity severity_of(std::string_view text)
{
    return text.starts_with("Fatal: ")     ? Severity::fatal
           : text.starts_with("Error: ")   ? Severity::error
           : text.starts_with("Warning: ") ? Severity::warning
           : text.starts_with("Info: ")    ? Severity::info
                                           : Severity::plain;
}

// Not constexpr: reaching it while an entry is built at compile time makes
// the build fail, naming this function and the reason beside its call.
inline void catalogue_entry_is_malformed(const char*) {}

}  // namespace detail

struct Entry {
    consteval Entry(Id id, Where where, std::string_view label, const char* text, Console console)
        : Entry(id, where, label, text)
    {
        this->console = console.text;
        if (severity != Severity::fatal || detail::severity_of(console.text) != Severity::fatal ||
            std::string_view(console.text).find('%') != std::string_view::npos)
            detail::catalogue_entry_is_malformed("only a Fatal has a console form: a Fatal line without values");
    }
    consteval Entry(Id id, Where where, std::string_view label, const char* text)
        : id(id), severity(detail::severity_of(text)), where(where), label(label), text(text), console(text)
    {
        const bool plain = severity == Severity::plain;
        if (label.empty() != plain)
            detail::catalogue_entry_is_malformed("every message but a plain line has a label");
        if (where.place != Place::piece && (severity == Severity::fatal || plain))
            detail::catalogue_entry_is_malformed("a Fatal or a plain line is about the piece");
        const std::string_view t = text;
        for (std::size_t at = t.find('%'); at != std::string_view::npos; at = t.find('%', at + 2))
            if (at + 1 == t.size() || std::string_view("dsc%").find(t[at + 1]) == std::string_view::npos)
                detail::catalogue_entry_is_malformed("a conversion is %d, %s, %c or %%");
    }

    Id id;
    Severity severity;  // from the text's start
    Where where;
    // The kind as the report names it: the text without its class, row and
    // values. In Windows-1252, as the listing's texts are (\x85 is an ellipsis).
    std::string_view label;
    const char* text;  // as written to the listing, line ends included
    // A Fatal's text for the console: the shorter form, or the text itself.
    const char* console;
    // For people: what the finding means and what to look at in the piece.
    std::string_view explanation = {};
};

inline constexpr Entry catalogue[] = {
    // Code tables and header rows.
    {aux_county_failed, Place::piece, "Aux file \x85 failed to open, county code checking disabled",
     "Warning: Aux file %s failed to open, county code checking disabled\n\n"},
    {too_many_counties, Place::piece, "Too many counties in aux file, county code checking disabled",
     "Warning: Too many counties in aux file, county code checking disabled\n\n"},
    {aux_relationship_failed, Place::piece, "Aux file \x85 failed to open, relationship code checking disabled",
     "Warning: Aux file %s failed to open, relationship code checking disabled\n\n"},
    {too_many_relationships, Place::piece, "Too many relationships in aux file, relationship code checking disabled",
     "Warning: Too many relationships in aux file, relationship code checking disabled\n\n"},
    {a1_not_piece, Place::piece, "Cell A1 doesn't contain a valid piece number",
     "Warning: Cell A1 doesn't contain a valid piece number\n\n"},
    {b1_book_not_numeric, Place::piece, "cell B1 contains a non-numeric book number \x85",
     "Warning: cell B1 contains a non-numeric book number %s\n\n"},
    {b1_book_ignored_sct, Place::piece, "ENG 1841 book number \x85 in cell B1 ignored for SCT piece",
     "Warning: ENG 1841 book number %s in cell B1 ignored for SCT piece\n\n"},
    {b1_book_ignored, Place::piece, "1841 book number \x85 in cell B1 ignored for \x85 piece",
     "Warning: 1841 book number %s in cell B1 ignored for %d piece\n\n"},
    {books_not_in_use, Place::piece, "Old format file, Book numbers not in use",
     "Warning: Old format file, Book numbers not in use\n"},
    {books_not_set, Place::piece, "Book numbers not set", "Warning: Book numbers not set\n"},

    // Reading a row and its question marks.
    {line_break_in_cell, Place::row, "line break inside a cell replaced by a blank",
     "Warning: row %d, line break inside a cell replaced by a blank\n"},
    {invalid_character, Place::cut_cell, "field contains an invalid character",
     "Error: row %d, field contains an invalid character <%c>\n"},
    {incomplete_field, Place::cut_cell, "ends with incomplete field", "Error: row %d, ends with incomplete field\n"},
    {field_too_long, Place::cut_cell, "field too long, truncated by \x85 to \x85 characters in the output file",
     "Error: row %d, field too long <%s>, truncated by %d to %d characters in the output file\n"},
    {trailing_query_removed, Place::query_cell, "trailing \"?\" removed.",
     "Warning: row %d, trailing \"?\" removed.\n"},
    {trailing_query_flagged, Place::query_cell, "trailing \"?\" removed and flag set.",
     "Warning: row %d, trailing \"?\" removed and flag set.\n"},
    {query_flagged, Place::query_cell, "\"?\" detected, flag set.", "Warning: row %d, \"?\" detected, flag set.\n"},
    {blank_row, Place::row, "blank, ignored", "Warning: row %d blank, ignored\n"},
    {marked_deleted, Field::notes, "is marked DELETED", "Warning: row %d, is marked DELETED\n"},

    // Household and location.
    {household_not_numeric, Field::household, "household number not numeric",
     "Error: row %d, household number = %s not numeric\n"},
    {household_zero, Field::household, "household number = 0 not valid",
     "Error: row %d, household number = 0 not valid\n"},
    {member_blank, Field::member, "household member number blank", "Warning: row %d, household member number blank\n"},
    {member_not_numeric, Field::member, "household member number not numeric",
     "Error: row %d, household member number = %s not numeric\n"},
    {member_zero, Field::member, "household member number = 0 not valid",
     "Warning: row %d, household member number = 0 not valid\n"},
    {household_not_sequential, Field::household, "household number not sequential",
     "Info: row %d, household number = %s not sequential\n"},
    {member_not_sequential, Field::member, "household member number not sequential",
     "Warning: row %d, household member number = %s not sequential\n"},
    {ed_too_long, Field::ed, "ED > 3 digits", "Error: row %d, ED > 3 digits\n"},
    {folio_too_long, Field::folio, "folio/SCT book > 4 digits", "Error: row %d, folio/SCT book > 4 digits\n"},
    {initial_household, Field::household, "initial household number",
     "Warning: row %d, initial household number = %s\n"},
    {initial_member, Field::member, "initial household member number",
     "Warning: row %d, initial household member number = %s\n"},
    {initial_parish_not_set, Field::parish, "initial civil parish name not set",
     "Error: row %d, initial civil parish name not set\n"},
    {initial_ed_not_set, Field::ed, "initial ED not set", "Error: row %d, initial ED not set\n"},
    {initial_folio_not_set, Field::folio, "initial folio number not set",
     "Error: row %d, initial folio number not set\n"},
    {initial_page_not_set, Field::page, "initial page number not set", "Error: row %d, initial page number not set\n"},
    {initial_schedule_not_set, Field::schedule, "initial schedule number not set",
     "Error: row %d, initial schedule number not set\n"},
    {ed_not_numeric, Field::ed, "ED not numeric", "Error: row %d, ED = %s not numeric\n"},
    {ed_suffix_invalid, Field::ed, "ED suffix not alphanumeric", "Error: row %d, ED suffix = %c not alphanumeric\n"},
    {folio_not_numeric, Field::folio, "folio/SCT book not numeric", "Error: row %d, folio/SCT book = %s not numeric\n"},
    {folio_suffix_invalid, Field::folio, "folio/SCT book suffix not alphabetic",
     "Error: row %d, folio/SCT book suffix = %c not alphabetic\n"},
    {page_not_numeric, Field::page, "page number not numeric", "Error: row %d, page number = %s not numeric\n"},
    {parish_unusual, Field::parish, "parish contains unusual characters",
     "Warning: row %d, parish = %s contains unusual characters\n"},
    {parish_missing, Field::parish, "civil parish name missing", "Error: row %d, civil parish name missing\n"},
    {district_unusual, Field::district, "Eccl. District contains unusual characters",
     "Warning: row %d, Eccl. District = %s contains unusual characters\n"},
    {district_missing, Field::district, "Eccl. District name missing",
     "Warning: row %d, Eccl. District name missing\n"},

    // Sequence and page continuity.
    {ed_not_sequential, Field::ed, "ED not sequential", "Warning: row %d, ED = %s not sequential\n"},
    {first_page_of_ed, Field::page, "first page of ED", "Warning: row %d, first page of ED = %s\n"},
    {folio_zero, Field::folio, "folio/SCT book = 0", "Warning: row %d, folio/SCT book = 0\n"},
    {folio_gap, Field::folio, "excessive gap before folio \x85", "Warning: row %d, excessive gap before folio %s\n"},
    {too_many_pages, Field::page, "too many pages on folio \x85", "Warning: row %d, too many pages on folio %s\n"},
    {parish_changed_in_page, Field::parish, "civil parish has changed in the middle of a page",
     "Warning: row %d, civil parish has changed in the middle of a page\n"},
    {district_changed_in_page, Field::district, "Eccl. District has changed in the middle of a page",
     "Warning: row %d, Eccl. District has changed in the middle of a page\n"},
    {folio_changed_in_page, Field::folio, "folio/SCT book has changed in the middle of a page",
     "Warning: row %d, folio/SCT book has changed in the middle of a page\n"},
    {book_changed_in_page, Field::book, "Book number has changed in the middle of a page",
     "Warning: row %d, Book number has changed in the middle of a page\n"},
    {too_many_lines, Field::page, "possibly too many lines on page \x85",
     "Warning: row %d, possibly too many lines on page %s\n"},
    {page_not_sequential, Field::page, "page number not sequential",
     "Warning: row %d, page number = %s not sequential\n"},
    {folio_not_sequential, Field::folio, "folio number not sequential",
     "Warning: row %d, folio number = %s not sequential\n"},
    {book_not_numeric, Field::book, "book number not numeric", "Warning: row %d, book number = %s not numeric\n"},
    {book_not_sequential, Field::book, "Book number not sequential",
     "Warning: row %d, Book number = %s not sequential\n"},

    // Buildings, schedules and houses.
    {uninhabited_invalid, Field::uninhabited, "uninhabited flag invalid value",
     "Warning: row %d, uninhabited flag = %s invalid value\n"},
    {household_after_uninhabited, Field::schedule,
     "the first record after an uninhabited building must be a new household",
     "Error: row %d, the first record after an uninhabited building must be a new household\n"},
    {uninhabited_not_new_household, Field::uninhabited, "uninhabited flag but not new household",
     "Warning: row %d, uninhabited flag = %s but not new household\n"},
    {house_too_long, Field::house, "house number > 4 digits", "Error: row %d, house number > 4 digits\n"},
    {schedule_not_numeric, Field::schedule, "schedule number not numeric",
     "Error: row %d, schedule number = %s not numeric\n"},
    {schedule_suffix_invalid, Field::schedule, "schedule suffix not alphabetic",
     "Error: row %d, schedule suffix = %c not alphabetic\n"},
    {first_schedule_of_ed, Field::schedule, "first schedule of ED", "Warning: row %d, first schedule of ED = %s\n"},
    {schedule_changed_in_household, Field::schedule, "schedule number changed in middle of household",
     "Error: row %d, schedule number changed in middle of household\n"},
    {schedule_repeated, Field::schedule, "consecutive schedule numbers are the same",
     "Warning: row %d, consecutive schedule numbers (%s) are the same\n"},
    {schedule_not_sequential, Field::schedule, "schedule number not sequential",
     "Warning: row %d, schedule number = %s not sequential\n"},
    {house_not_numeric, Field::house, "house number not numeric", "Error: row %d, house number = %s not numeric\n"},
    {address_missing, Field::address, "address missing", "Info: row %d, address missing\n"},
    {house_changed_in_household, Field::house, "house number has changed in the middle of a household",
     "Warning: row %d, house number has changed in the middle of a household\n"},
    {address_changed_in_household, Field::address, "address has changed in the middle of a household",
     "Warning: row %d, address has changed in the middle of a household\n"},
    {schedule_too_large, Field::schedule, "schedule > 1999", "Error: row %d, schedule > 1999, \n"},

    // Names, relationship and condition.
    {surname_unusual, Field::surname, "surname contains unusual characters",
     "Warning: row %d, surname = %s contains unusual characters\n"},
    {surname_missing, Field::surname, "surname missing", "Warning: row %d, surname missing\n"},
    {forenames_unusual, Field::forenames, "forename(s) contains unusual characters",
     "Warning: row %d, forename(s) = %s contains unusual characters\n"},
    {forenames_missing, Field::forenames, "forename(s) missing", "Warning: row %d, forename(s) missing\n"},
    {name_flag_invalid, Field::name_flag, "name flag invalid value", "Warning: row %d, name flag = %s invalid value\n"},
    {relationship_unusual, Field::relationship, "relationship contains unusual characters",
     "Warning: row %d, relationship = %s contains unusual characters\n"},
    {relationship_missing, Field::relationship, "relationship missing", "Warning: row %d, relationship missing\n"},
    {relationship_unrecognised, Field::relationship, "unrecognised relationship code \x85",
     "Warning: row %d, unrecognised relationship code %s\n"},
    {head_not_first, Field::relationship, "Head of household is not the first entry in the schedule",
     "Warning: row %d, Head of household is not the first entry in the schedule\n"},
    {condition_invalid, Field::condition, "condition invalid value", "Warning: row %d, condition = %s invalid value\n"},
    {relationship_ignored, Field::relationship, "relationship ignored", "Info: row %d, relationship ignored\n"},
    {condition_ignored, Field::condition, "condition ignored", "Info: row %d, condition ignored\n"},

    // Sex and age.
    {sex_missing, Field::sex, "sex marker missing", "Warning: row %d, sex marker missing\n"},
    {sex_invalid, Field::sex, "sex invalid value", "Error: row %d, sex = %s invalid value\n"},
    {age_missing, Field::age, "age missing", "Warning: row %d, age missing\n"},
    {age_not_numeric, Field::age, "age not numeric", "Error: row %d, age = %s not numeric\n"},
    {age_zero, Field::age, "zero age", "Warning: row %d, zero age\n"},
    {age_over_120y, Field::age, "age more than 120y", "Warning: row %d, age more than 120y\n"},
    {age_over_24m, Field::age, "age more than 24m", "Warning: row %d, age more than 24m\n"},
    {age_over_20w, Field::age, "age more than 20w", "Warning: row %d, age more than 20w\n"},
    {age_over_30d, Field::age, "age more than 30d", "Warning: row %d, age more than 30d\n"},
    {age_units_invalid, Field::age, "age units invalid value", "Warning: row %d, age units = %c invalid value\n"},
    {married_under_14, Field::age, "married/widowed person age under 14y",
     "Warning: row %d, married/widowed person age under 14y\n"},
    {detail_flag_invalid, Field::detail_flag, "detail flag invalid value",
     "Warning: row %d, detail flag = %s invalid value\n"},

    // Occupation, birth place, disability and language.
    {no_room_for_employed, Field::occupation, "no room for employed status in occupation field",
     "Error: row %d, no room for employed status in occupation field\n"},
    {employed_invalid, Field::employed, "employed status invalid value",
     "Warning: row %d, employed status = %s invalid value\n"},
    {employed_ignored, Field::employed, "employed status ignored", "Info: row %d, employed status ignored\n"},
    {occupation_flag_invalid, Field::occupation_flag, "occupation flag invalid value",
     "Warning: row %d, occupation flag = %s invalid value\n"},
    {county_missing, Field::county, "county code missing", "Warning: row %d, county code missing\n"},
    {county_length, Field::county, "county code invalid length", "Warning: row %d, county code = %s invalid length\n"},
    {county_unrecognised, Field::county, "unrecognised county code \x85",
     "Warning: row %d, unrecognised county code %s\n"},
    {birthplace_unusual, Field::birthplace, "birth place contains unusual characters",
     "Warning: row %d, birth place = %s contains unusual characters\n"},
    {birthplace_missing, Field::birthplace, "birth place missing", "Info: row %d, birth place missing\n"},
    {birthplace_ignored, Field::birthplace, "birth place ignored", "Info: row %d, birth place ignored\n"},
    {birthplace_flag_invalid, Field::birthplace_flag, "birth place flag invalid value",
     "Warning: row %d, birth place flag = %s invalid value\n"},
    {alt_county_length, Field::alt_county, "alternate county code invalid length",
     "Warning: row %d, alternate county code = %s invalid length\n"},
    {alt_county_unrecognised, Field::alt_county, "unrecognised alternate county code \x85",
     "Warning: row %d, unrecognised alternate county code %s\n"},
    {alt_birthplace_unusual, Field::alt_birthplace, "alternate birth place contains unusual characters",
     "Warning: row %d, alternate birth place = %s contains unusual characters\n"},
    {alt_birthplace_ignored, Field::alt_birthplace, "alternate birth place ignored",
     "Info: row %d, alternate birth place ignored\n"},
    {disability_unusual, Field::disability, "disability contains unusual characters",
     "Warning: row %d, disability = %s contains unusual characters\n"},
    {disability_ignored, Field::disability, "disability ignored", "Info: row %d, disability ignored\n"},
    {language_invalid, Field::language, "language = invalid value", "Warning: row %d, language = <%s> invalid value\n"},
    {language_ignored, Field::language, "Language ignored", "Info: row %d, Language ignored\n"},

    // The output record.
    {household_too_large, Field::household, "household number too large for the output record",
     "Error: row %d, household number = %s too large for the output record\n"},
    {member_too_large, Field::member, "household member number too large for the output record",
     "Error: row %d, household member number = %s too large for the output record\n"},

    // Set-up failures: the run stops. A file failure is followed on the
    // console by the system's description of it.
    {no_extension, Place::piece, "Full file name required including the three letter extension",
     "Fatal: Full file name required including the three letter extension - %s\n",
     Console{"Fatal: Full file name required including the three letter extension\n"}},
    {not_csv, Place::piece, "File must be a .csv (comma separated values)",
     "Fatal: File must be a .csv (comma separated values)\n"},
    {census_year_unknown, Place::piece, "Census year cannot be determined from file name",
     "Fatal: Census year cannot be determined from file name (%s)\n",
     Console{"Fatal: Census year cannot be determined from file name\n"}},
    {part_not_valid, Place::piece, "Part number in file name is not valid",
     "Fatal: Part number in file name (%s) is not valid\n", Console{"Fatal: Part number in file name is not valid\n"}},
    {part_not_numeric, Place::piece, "Part number in file name is not numeric",
     "Fatal: Part number in file name (%s) is not numeric\n",
     Console{"Fatal: Part number in file name is not numeric\n"}},
    {piece_not_numeric, Place::piece, "Piece number in file name is not numeric",
     "Fatal: Piece number in file name (%s) is not numeric\n",
     Console{"Fatal: Piece number in file name is not numeric\n"}},
    {messages_open_failed, Place::piece, "Messages file failed to open", "Fatal: Messages file (%s) failed to open\n"},
    {input_open_failed, Place::piece, "Input file failed to open", "Fatal: Input file (%s) failed to open\n"},
    {input_read_failed, Place::piece, "Input file read failed", "Fatal: Input file (%s) read failed\n"},
    {output_open_failed, Place::piece, "Output file failed to open", "Fatal: Output file (%s) failed to open\n"},
    {output_write_failed, Place::piece, "Output file write failed", "Fatal: Output file (%s) write failed\n"},
    {no_data, Place::piece, "No data in file, it appears to be empty",
     "Fatal: row 1, No data in file, it appears to be empty\n",
     Console{"Fatal: No data in file, it appears to be empty\n"}},
    {one_header_row, Place::piece, "No data in file, only one header row was found",
     "Fatal: row 2, No data in file, only one header row was found\n",
     Console{"Fatal: No data in file, only one header row was found\n"}},
    {two_header_rows, Place::piece, "No data in file, only two header rows were found",
     "Fatal: row 3, No data in file, only two header rows were found\n",
     Console{"Fatal: No data in file, only two header rows were found\n"}},
    {titles_mismatch, Place::piece, "File type switch does not match number of columns in data",
     "Fatal: row 2, File type switch does not match number of columns in data (%d)\n"
     "\tall the titles in row 2 must be non-blank\n",
     Console{"Fatal: File type switch does not match number of columns in data\n"
             "\tall the headers in row 2 must be non-blank\n"}},

    // The listing's own lines.
    {listing_header, Place::piece, "",
     "Error listing for tabulon (Merrowby) v%s %s converting %s\n"
     "[When reporting program errors, be sure to send this file and the original data file]\n\n"},
    {run_description, Place::piece, "", "Census year = %d, input format = %s, output format = %s%s\n\n"},
    {row_offset, Place::piece, "",
     "Subtract %d from row numbers in messages to get the corresponding record in the output file.\n\n"},
    {records_written, Place::piece, "", "\nOutput %d records, highest household number = %d\n"},
    {output_file, Place::piece, "", "\nOutput file is %s\n"},
};

// Each entry stands at its own name's place.
consteval bool in_order()
{
    for (std::size_t i = 0; i < std::size(catalogue); ++i)
        if (static_cast<std::size_t>(catalogue[i].id) != i)
            return false;
    return std::size(catalogue) == id_count;
}
static_assert(in_order(), "the catalogue holds every message once, in the order of their names");

// A message named for a call with these arguments: the entry's text is
// checked against them when compiling (see msgfmt.h).
template <typename... Args>
class Checked {
public:
    consteval Checked(Id id) : entry_(&catalogue[id]) { msgfmt_detail::check_format<Args...>(entry_->text); }
    constexpr const Entry& entry() const { return *entry_; }

private:
    const Entry* entry_;
};

template <typename... Args>
using message = Checked<std::type_identity_t<Args>...>;

// The message's text with its values, as the listing has it.
template <typename... Args>
std::string text(message<Args...> m, const Args&... args)
{
    return msgfmt_detail::format(m.entry().text, {msgfmt_detail::make_arg(args)...});
}

// Reading a listing line back (without its line end).

// Does the line read as format? %d stands for a number, %s for any text, %c
// for one character.
bool matches(std::string_view line, std::string_view format);

// The entry that the line was written from: the match with the most fixed
// text wins. nullptr when none matches.
const Entry* find(std::string_view line);

}  // namespace msg
