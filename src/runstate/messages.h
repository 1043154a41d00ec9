// The message catalogue: every line the converter writes to its listing,
// each defined once.
//
// An entry holds the line's text (a format of %d, %s, %c and %%), its class
// (read from the text's start: "Error: ", "Warning: ", "Info: ", "Fatal: ";
// none for the listing's plain lines), what in the piece it is about, the
// short label of its kind and, for every finding, an explanation for the
// volunteers who read the report (never written to the listing). A check
// writes a message by its name,
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
    consteval Entry(Id id, Where where, std::string_view label, const char* text, Console console,
                    std::string_view explanation = {})
        : Entry(id, where, label, text, explanation)
    {
        this->console = console.text;
        if (severity != Severity::fatal || detail::severity_of(console.text) != Severity::fatal ||
            std::string_view(console.text).find('%') != std::string_view::npos)
            detail::catalogue_entry_is_malformed("only a Fatal has a console form: a Fatal line without values");
    }
    consteval Entry(Id id, Where where, std::string_view label, const char* text, std::string_view explanation = {})
        : id(id), severity(detail::severity_of(text)), where(where), label(label), text(text), console(text),
          explanation(explanation)
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
    // For people: what the finding means and what to look at in the
    // spreadsheet, in one or two plain sentences (plain ASCII, so the same in
    // Windows-1252). Empty for the plain lines, which are no finding.
    std::string_view explanation;
};

inline constexpr Entry catalogue[] = {
    // Code tables and header rows.
    {aux_county_failed, Place::piece, "Aux file \x85 failed to open, county code checking disabled",
     "Warning: Aux file %s failed to open, county code checking disabled\n\n",
     "The list of county codes (CHAP1891.TXT, kept beside the program) could not be opened, so the Chapman Code "
     "column was not checked against it. Nothing is wrong in the spreadsheet: put that file back in the program's "
     "folder and convert again."},
    {too_many_counties, Place::piece, "Too many counties in aux file, county code checking disabled",
     "Warning: Too many counties in aux file, county code checking disabled\n\n",
     "The list of county codes beside the program (CHAP1891.TXT) has more than 149 codes, so the Chapman Code column "
     "was not checked against it. Nothing is wrong in the spreadsheet: ask your coordinator for a correct list."},
    {aux_relationship_failed, Place::piece, "Aux file \x85 failed to open, relationship code checking disabled",
     "Warning: Aux file %s failed to open, relationship code checking disabled\n\n",
     "Relationships were to be checked against the list of relationship codes (switch -r), but that list "
     "(relcodes.txt, beside the program) could not be opened, so they were not. Nothing is wrong in the spreadsheet: "
     "put the file back or convert without -r."},
    {too_many_relationships, Place::piece, "Too many relationships in aux file, relationship code checking disabled",
     "Warning: Too many relationships in aux file, relationship code checking disabled\n\n",
     "The list of relationship codes beside the program (relcodes.txt) has more than 149 codes, so the Relationship "
     "column was not checked against it. Nothing is wrong in the spreadsheet: ask your coordinator for a correct "
     "list."},
    {a1_not_piece, Place::piece, "Cell A1 doesn't contain a valid piece number",
     "Warning: Cell A1 doesn't contain a valid piece number\n\n",
     "Cell A1, the first cell of row 1, should name the piece, starting with its class (RG, HO, RS, HS or SCT), as "
     "in RG11/123. Type the piece's reference there; the rest of the file is converted as usual."},
    {b1_book_not_numeric, Place::piece, "cell B1 contains a non-numeric book number \x85",
     "Warning: cell B1 contains a non-numeric book number %s\n\n",
     "For an 1841 English piece cell B1 holds the number of the enumeration book the piece starts with, and here it "
     "holds more than digits. Type the book number alone, such as 2."},
    {b1_book_ignored_sct, Place::piece, "ENG 1841 book number \x85 in cell B1 ignored for SCT piece",
     "Warning: ENG 1841 book number %s in cell B1 ignored for SCT piece\n\n",
     "Cell B1 holds a book number, which only English 1841 pieces give there; for a Scottish piece it is not used. "
     "Leave cell B1 empty."},
    {b1_book_ignored, Place::piece, "1841 book number \x85 in cell B1 ignored for \x85 piece",
     "Warning: 1841 book number %s in cell B1 ignored for %d piece\n\n",
     "Cell B1 holds a book number, which only 1841 pieces give there; for a piece of a later census it is not used. "
     "Leave cell B1 empty."},
    {books_not_in_use, Place::piece, "Old format file, Book numbers not in use",
     "Warning: Old format file, Book numbers not in use\n",
     "For an 1841 English piece cell B1 should give the number of the piece's first enumeration book, and the number "
     "there is above 100, as in files made before book numbers were used. Type the first book's number in cell B1."},
    {books_not_set, Place::piece, "Book numbers not set", "Warning: Book numbers not set\n",
     "For an 1841 English piece cell B1 should give the number of the piece's first enumeration book, and it is "
     "empty or 0. Type the first book's number in cell B1."},

    // Reading a row and its question marks.
    {line_break_in_cell, Place::row, "line break inside a cell replaced by a blank",
     "Warning: row %d, line break inside a cell replaced by a blank\n",
     "A cell in this row was typed on more than one line (Alt+Enter), often a Notes cell; its lines were joined with "
     "a blank. Retype the cell on one line."},
    {invalid_character, Place::cut_cell, "field contains an invalid character",
     "Error: row %d, field contains an invalid character <%c>\n",
     "A cell holds a character that may not be used, shown between < and >: often a curly quote or apostrophe, a "
     "long dash or a pound sign copied from another program, or a tab. Retype it as a plain character (a straight "
     "apostrophe, a hyphen) or leave it out."},
    {incomplete_field, Place::cut_cell, "ends with incomplete field", "Error: row %d, ends with incomplete field\n",
     "A cell begins with a double quote that is not closed before the end of the row, so everything after it in the "
     "row was taken into that one cell. Remove the stray double quote, or add the closing one."},
    {field_too_long, Place::cut_cell, "field too long, truncated by \x85 to \x85 characters in the output file",
     "Error: row %d, field too long <%s>, truncated by %d to %d characters in the output file\n",
     "The cell holds more characters than its column allows (the last number in the message), so its end was cut off "
     "in the converted data. Shorten it: a Relationship, for example, has at most 6 characters, so Daughter or a "
     "misspelling such as Duaghter should be Dau."},
    {trailing_query_removed, Place::query_cell, "trailing \"?\" removed.",
     "Warning: row %d, trailing \"?\" removed.\n",
     "A question mark at the end of a Civil Parish, Eccl District or Disability cell (an unsure reading) was taken "
     "out, as these columns have no flag to keep the doubt. Check the reading against the original and remove the "
     "question mark once you are sure."},
    {trailing_query_flagged, Place::query_cell, "trailing \"?\" removed and flag set.",
     "Warning: row %d, trailing \"?\" removed and flag set.\n",
     "A question mark at the end of the cell (an unsure reading) was taken out and the column's flag (Name, Detail, "
     "Occupation or Birth Place Flag; for the Address, the Uninhabited Flag) set to x. Nothing needs changing if the "
     "reading is unsure; if not, remove the question mark."},
    {query_flagged, Place::query_cell, "\"?\" detected, flag set.", "Warning: row %d, \"?\" detected, flag set.\n",
     "The cell has a question mark inside it (an unsure reading), so the column's flag (Name, Detail, Occupation or "
     "Birth Place Flag; for the Address, the Uninhabited Flag) was set to x. If you can now read it, type the "
     "letters in place of the question mark."},
    {blank_row, Place::row, "blank, ignored", "Warning: row %d blank, ignored\n",
     "Every cell of this row is empty, so it was skipped. Delete the row, or fill it in if a person is missing "
     "there."},
    {marked_deleted, Field::notes, "is marked DELETED", "Warning: row %d, is marked DELETED\n",
     "The Notes cell says DELETED, so the row is kept in the converted data but marked as deleted. Nothing to do if "
     "that is meant; otherwise clear the Notes cell."},

    // Household and location.
    {household_not_numeric, Field::household, "household number not numeric",
     "Error: row %d, household number = %s not numeric\n",
     "The household number (the third column of this layout) is empty or holds more than digits. Type the number of "
     "the household this person belongs to, in digits only."},
    {household_zero, Field::household, "household number = 0 not valid",
     "Error: row %d, household number = 0 not valid\n",
     "The household number (the third column of this layout) is 0, but households are numbered from 1. Type the "
     "right household number."},
    {member_blank, Field::member, "household member number blank", "Warning: row %d, household member number blank\n",
     "The household member number (the fourth column of this layout) is empty. Type the person's place in the "
     "household: 1 for its first person, 2 for the next, and so on."},
    {member_not_numeric, Field::member, "household member number not numeric",
     "Error: row %d, household member number = %s not numeric\n",
     "The household member number (the fourth column of this layout) holds more than digits. Type the person's place "
     "in the household as a number: 1 for its first person, 2 for the next, and so on."},
    {member_zero, Field::member, "household member number = 0 not valid",
     "Warning: row %d, household member number = 0 not valid\n",
     "The household member number (the fourth column of this layout) is 0, but the people of a household are "
     "numbered from 1. Type the person's place in the household."},
    {household_not_sequential, Field::household, "household number not sequential",
     "Info: row %d, household number = %s not sequential\n",
     "This row starts a household whose number is not one more than the household before it, so a household may be "
     "missing or its number mistyped. Check the household numbers around this row."},
    {member_not_sequential, Field::member, "household member number not sequential",
     "Warning: row %d, household member number = %s not sequential\n",
     "Within one household the member numbers should go up by one from row to row, and here one does not. Check the "
     "member number for a slip, or whether the household number should have changed."},
    {ed_too_long, Field::ed, "ED > 3 digits", "Error: row %d, ED > 3 digits\n",
     "The ED (enumeration district) is longer than 3 characters, not counting one letter at the end (as in 12a), so "
     "it was written as 999. An ED number has at most 3 digits: check the ED column."},
    {folio_too_long, Field::folio, "folio/SCT book > 4 digits", "Error: row %d, folio/SCT book > 4 digits\n",
     "The Folio (for a Scottish piece, the book number) is longer than 4 characters, not counting one letter at the "
     "end (as in 123a), so it was written as 9999. A folio number has at most 4 digits: check the Folio column."},
    {initial_household, Field::household, "initial household number",
     "Warning: row %d, initial household number = %s\n",
     "The first data row does not start household 1, usually because its Schedule cell is empty, so it starts no "
     "household. Type the schedule number on the first row (in a file with its own household column, check the "
     "number there)."},
    {initial_member, Field::member, "initial household member number",
     "Warning: row %d, initial household member number = %s\n",
     "The first data row's household member number is not 1, but the first person of a household is member 1. Check "
     "the member number on the first row."},
    {initial_parish_not_set, Field::parish, "initial civil parish name not set",
     "Error: row %d, initial civil parish name not set\n",
     "The first data row has no Civil Parish, so neither has any row after it that leaves the column empty to repeat "
     "the one above. Type the civil parish on the first data row."},
    {initial_ed_not_set, Field::ed, "initial ED not set", "Error: row %d, initial ED not set\n",
     "The first data row has no ED, so neither has any row after it that leaves the column empty to repeat the one "
     "above. Type the ED number on the first data row (an ED that really is 99 is reported in the same way)."},
    {initial_folio_not_set, Field::folio, "initial folio number not set",
     "Error: row %d, initial folio number not set\n",
     "The first data row has no Folio number, so neither has any row after it that leaves the column empty to repeat "
     "the one above. Type the folio number on the first data row."},
    {initial_page_not_set, Field::page, "initial page number not set", "Error: row %d, initial page number not set\n",
     "The first data row has no Page number, so neither has any row after it that leaves the column empty to repeat "
     "the one above. Type the page number on the first data row."},
    {initial_schedule_not_set, Field::schedule, "initial schedule number not set",
     "Error: row %d, initial schedule number not set\n",
     "The first data row has no Schedule number, so it starts no household. Type the schedule number on the first "
     "data row."},
    {ed_not_numeric, Field::ed, "ED not numeric", "Error: row %d, ED = %s not numeric\n",
     "The ED column holds something other than a number followed by at most one letter (such as 12 or 12a), so it "
     "was written as 99. Check the cell for a typing slip, such as 1a2 or a letter O for a zero."},
    {ed_suffix_invalid, Field::ed, "ED suffix not alphanumeric", "Error: row %d, ED suffix = %c not alphanumeric\n",
     "The ED number ends in a character that is neither a letter nor a digit, such as 12- or 12/, and that character "
     "was dropped. Check the ED column: the number may be followed by one letter, as in 12a."},
    {folio_not_numeric, Field::folio, "folio/SCT book not numeric", "Error: row %d, folio/SCT book = %s not numeric\n",
     "The Folio column (for a Scottish piece, the book number) is empty or holds something other than a number "
     "followed by at most one letter (such as 123 or 123a), so it was written as 9999. Check the cell for a typing "
     "slip."},
    {folio_suffix_invalid, Field::folio, "folio/SCT book suffix not alphabetic",
     "Error: row %d, folio/SCT book suffix = %c not alphabetic\n",
     "The Folio number ends in a character that is not a letter, such as 123- or 12#3, and that character was "
     "dropped. Check the Folio column: the number may be followed by one letter, as in 123a."},
    {page_not_numeric, Field::page, "page number not numeric", "Error: row %d, page number = %s not numeric\n",
     "The Page column is empty or holds more than digits (a page number takes no letter), so it was written as 999. "
     "Check the cell for a typing slip, such as 12a or a letter O for a zero."},
    {parish_unusual, Field::parish, "parish contains unusual characters",
     "Warning: row %d, parish = %s contains unusual characters\n",
     "The Civil Parish has a character that names seldom have: a digit, a question mark, a slash, an accented letter "
     "or other unusual punctuation. Check the spelling against the original; if it is written so there, leave it."},
    {parish_missing, Field::parish, "civil parish name missing", "Error: row %d, civil parish name missing\n",
     "The Civil Parish cell is empty. Type the civil parish for this row."},
    {district_unusual, Field::district, "Eccl. District contains unusual characters",
     "Warning: row %d, Eccl. District = %s contains unusual characters\n",
     "The Eccl District has a character that names seldom have: a digit, a question mark, a slash, an accented "
     "letter or other unusual punctuation. Check the spelling against the original; if it is written so there, leave "
     "it."},
    {district_missing, Field::district, "Eccl. District name missing",
     "Warning: row %d, Eccl. District name missing\n",
     "The Eccl District (ecclesiastical district) cell is empty, so it was written as -. Type the district's name, "
     "or - where the original gives none."},

    // Sequence and page continuity.
    {ed_not_sequential, Field::ed, "ED not sequential", "Warning: row %d, ED = %s not sequential\n",
     "The ED number jumps by more than one from the row above, or goes back, so an ED may be missing or a number "
     "mistyped. Check the ED column here and on the rows before."},
    {first_page_of_ed, Field::page, "first page of ED", "Warning: row %d, first page of ED = %s\n",
     "A new ED starts here on a page other than page 1, so its first pages may be missing, or the ED or Page number "
     "mistyped. Check the ED and Page columns on this row."},
    {folio_zero, Field::folio, "folio/SCT book = 0", "Warning: row %d, folio/SCT book = 0\n",
     "Where this ED begins the Folio number (for a Scottish piece, the book number) is 0, or a Scottish piece's "
     "first row leaves it empty. Type the right number in the Folio column."},
    {folio_gap, Field::folio, "excessive gap before folio \x85", "Warning: row %d, excessive gap before folio %s\n",
     "Where this ED begins the folio number is more than 5 above the one before it (on the first row, above 5), so "
     "folios may be missing or the number mistyped. Check the Folio column here and on the rows before."},
    {too_many_pages, Field::page, "too many pages on folio \x85", "Warning: row %d, too many pages on folio %s\n",
     "A third page is numbered under the same folio, but a folio has only two pages, so the Folio number has "
     "probably not been raised. Check the Folio and Page columns at this row."},
    {parish_changed_in_page, Field::parish, "civil parish has changed in the middle of a page",
     "Warning: row %d, civil parish has changed in the middle of a page\n",
     "The Civil Parish differs from the row above although the page has not changed. Check that both rows spell it "
     "the same way, and that the Page number is right."},
    {district_changed_in_page, Field::district, "Eccl. District has changed in the middle of a page",
     "Warning: row %d, Eccl. District has changed in the middle of a page\n",
     "The Eccl District differs from the row above although the page has not changed. Check that both rows spell it "
     "the same way, and that the Page number is right."},
    {folio_changed_in_page, Field::folio, "folio/SCT book has changed in the middle of a page",
     "Warning: row %d, folio/SCT book has changed in the middle of a page\n",
     "The Folio number (for a Scottish piece, the book number) differs from the row above although the Page number "
     "has not changed. Check the Folio and Page columns on both rows."},
    {book_changed_in_page, Field::book, "Book number has changed in the middle of a page",
     "Warning: row %d, Book number has changed in the middle of a page\n",
     "The book number differs from the row above although the Page number has not changed; a book changes where it "
     "is typed, or where the Folio number falls back. Check the Folio and Page columns, and the Book column if the "
     "file has one."},
    {too_many_lines, Field::page, "possibly too many lines on page \x85",
     "Warning: row %d, possibly too many lines on page %s\n",
     "This page holds more than 31 rows, more than an enumerator's page usually has, so a change of Page number has "
     "probably been missed. Check the Page column on the rows above."},
    {page_not_sequential, Field::page, "page number not sequential",
     "Warning: row %d, page number = %s not sequential\n",
     "Within one ED the Page number should stay the same or go up by one, and here it jumps or goes back. Check the "
     "Page column here and on the row above."},
    {folio_not_sequential, Field::folio, "folio number not sequential",
     "Warning: row %d, folio number = %s not sequential\n",
     "Within one ED the Folio number should stay the same or go up by one, and here it jumps or goes back. Check the "
     "Folio column here and on the row above."},
    {book_not_numeric, Field::book, "book number not numeric", "Warning: row %d, book number = %s not numeric\n",
     "The book number of this 1841 English piece (the Book column, or cell B1 where the file has no Book column) "
     "holds more than digits. Type the book number alone, such as 2."},
    {book_not_sequential, Field::book, "Book number not sequential",
     "Warning: row %d, Book number = %s not sequential\n",
     "The book number jumps by more than one from the row above, or goes back, so it may be mistyped. Check the Book "
     "column (or cell B1) and the Folio numbers around this row."},

    // Buildings, schedules and houses.
    {uninhabited_invalid, Field::uninhabited, "uninhabited flag invalid value",
     "Warning: row %d, uninhabited flag = %s invalid value\n",
     "The Uninhabited Flag holds a value it may not have, so it was set to x. Use u (uninhabited), b (building in "
     "progress), n (schedule not used) or v (visiting) for a building; for a person leave it empty or -, or x if the "
     "address is unsure."},
    {household_after_uninhabited, Field::schedule,
     "the first record after an uninhabited building must be a new household",
     "Error: row %d, the first record after an uninhabited building must be a new household\n",
     "The row after a building row (Uninhabited Flag u, b, n or v) must start a new household, and this one does "
     "not, usually because its Schedule cell is empty; a new household was started for it. Type its schedule number, "
     "or check the flag above."},
    {uninhabited_not_new_household, Field::uninhabited, "uninhabited flag but not new household",
     "Warning: row %d, uninhabited flag = %s but not new household\n",
     "A building row (Uninhabited Flag u, b, n or v) must stand on its own, but this one carries on the household "
     "above, usually because its Schedule cell is empty; a new household was started for it. Fill in its Schedule "
     "cell, or check the flag."},
    {house_too_long, Field::house, "house number > 4 digits", "Error: row %d, house number > 4 digits\n",
     "The House Number has more than 4 characters (not counting one letter at the end, as in 12a), such as a range "
     "like 12-14, so it was written as 9999. Type the house number alone."},
    {schedule_not_numeric, Field::schedule, "schedule number not numeric",
     "Error: row %d, schedule number = %s not numeric\n",
     "The Schedule column holds something other than a number followed by at most one letter (such as 12 or 12a), so "
     "it was written as 999. Check the cell for a typing slip, such as a letter O for a zero."},
    {schedule_suffix_invalid, Field::schedule, "schedule suffix not alphabetic",
     "Error: row %d, schedule suffix = %c not alphabetic\n",
     "The Schedule number ends in a character that is not a letter, such as 12- or 12#3, and that character was "
     "dropped. Check the Schedule column: the number may be followed by one letter, as in 12a."},
    {first_schedule_of_ed, Field::schedule, "first schedule of ED", "Warning: row %d, first schedule of ED = %s\n",
     "A new ED begins here with a Schedule number above 1, though schedules are numbered from 1 in each ED, so its "
     "first households may be missing or a number mistyped. Check the ED and Schedule columns on this row."},
    {schedule_changed_in_household, Field::schedule, "schedule number changed in middle of household",
     "Error: row %d, schedule number changed in middle of household\n",
     "The household number is the same as on the row above, but the Schedule number differs. Check both: one of them "
     "is probably mistyped."},
    {schedule_repeated, Field::schedule, "consecutive schedule numbers are the same",
     "Warning: row %d, consecutive schedule numbers (%s) are the same\n",
     "This row starts a new household with the same Schedule number as the row above. Usually the number was typed "
     "again for another person of the same household: leave the Schedule cell empty on the household's later rows."},
    {schedule_not_sequential, Field::schedule, "schedule number not sequential",
     "Warning: row %d, schedule number = %s not sequential\n",
     "The Schedule number neither stays the same as on the row above nor goes up by one, so a schedule may be "
     "missing or a number mistyped. Check the Schedule column here and on the row above."},
    {house_not_numeric, Field::house, "house number not numeric", "Error: row %d, house number = %s not numeric\n",
     "The House Number holds more than a number and one letter (such as 12 or 12a), for example No 5 or 5-7. Type "
     "the number alone; words belong in the Address."},
    {address_missing, Field::address, "address missing", "Info: row %d, address missing\n",
     "The Address cell is empty, so the address was written as -. Type the address as the original gives it; on the "
     "later rows of a household it may be left empty."},
    {house_changed_in_household, Field::house, "house number has changed in the middle of a household",
     "Warning: row %d, house number has changed in the middle of a household\n",
     "The House Number differs from the row above although this row belongs to the same household. Check the House "
     "Number on both rows, or whether this row should start a new household with its own Schedule number."},
    {address_changed_in_household, Field::address, "address has changed in the middle of a household",
     "Warning: row %d, address has changed in the middle of a household\n",
     "The Address differs from the row above although this row belongs to the same household. Check that both rows "
     "spell it the same way (or leave it empty on later rows), or whether this row should start a new household."},
    {schedule_too_large, Field::schedule, "schedule > 1999", "Error: row %d, schedule > 1999, \n",
     "The Schedule number is above 1999, more than the converted data can hold, so it was written as 999. Check the "
     "Schedule column for a typing slip, such as an extra digit."},

    // Names, relationship and condition.
    {surname_unusual, Field::surname, "surname contains unusual characters",
     "Warning: row %d, surname = %s contains unusual characters\n",
     "The Surname has a character that names seldom have: a digit, a question mark, a slash, an accented letter or "
     "other unusual punctuation. Check the spelling against the original; if it is written so there, leave it."},
    {surname_missing, Field::surname, "surname missing", "Warning: row %d, surname missing\n",
     "The Surname cell is empty, so it was written as - and the Name Flag set to x. Type the surname; if the "
     "original gives none or it cannot be read, put x in the Name Flag."},
    {forenames_unusual, Field::forenames, "forename(s) contains unusual characters",
     "Warning: row %d, forename(s) = %s contains unusual characters\n",
     "The Forenames have a character that names seldom have: a digit, a question mark, a slash, an accented letter "
     "or other unusual punctuation. Check the spelling against the original; if it is written so there, leave it."},
    {forenames_missing, Field::forenames, "forename(s) missing", "Warning: row %d, forename(s) missing\n",
     "The Forenames cell is empty, so it was written as - and the Name Flag set to x. Type the forenames; if the "
     "original gives none or they cannot be read, put x in the Name Flag."},
    {name_flag_invalid, Field::name_flag, "name flag invalid value", "Warning: row %d, name flag = %s invalid value\n",
     "The Name Flag holds something other than x (the name is unsure) or - (it is certain), so it was set to x. Type "
     "x, or leave the cell empty."},
    {relationship_unusual, Field::relationship, "relationship contains unusual characters",
     "Warning: row %d, relationship = %s contains unusual characters\n",
     "The Relationship has a character that relationships seldom have: a digit, a question mark, a slash, an "
     "accented letter or other unusual punctuation. Check it against the original; a relationship is a short word "
     "such as Head, Wife or Dau."},
    {relationship_missing, Field::relationship, "relationship missing", "Warning: row %d, relationship missing\n",
     "The Relationship cell is empty, so it was written as - and the Detail Flag set to x. Type the relationship to "
     "the head (Head, Wife, Son, Dau and so on); if the original gives none, put x in the Detail Flag."},
    {relationship_unrecognised, Field::relationship, "unrecognised relationship code \x85",
     "Warning: row %d, unrecognised relationship code %s\n",
     "The Relationship is not in the list of relationship codes (relcodes.txt, beside the program), often because of "
     "a misspelling or a word written out in full. Use the code from the list, such as Dau for daughter."},
    {head_not_first, Field::relationship, "Head of household is not the first entry in the schedule",
     "Warning: row %d, Head of household is not the first entry in the schedule\n",
     "Head stands in the Relationship of a row that does not start a household. Check whether this row should start "
     "a new household with its own Schedule number, or whether its relationship is wrong."},
    {condition_invalid, Field::condition, "condition invalid value", "Warning: row %d, condition = %s invalid value\n",
     "The Condition holds something other than M (married), S (single), U (unmarried), W (widowed) or -, so the "
     "Detail Flag was set to x. Check the letter against the original."},
    {relationship_ignored, Field::relationship, "relationship ignored", "Info: row %d, relationship ignored\n",
     "The 1841 census did not ask for the relationship to the head, so the Relationship column is not used for 1841 "
     "pieces and its text was left out of the converted data. Leave it empty."},
    {condition_ignored, Field::condition, "condition ignored", "Info: row %d, condition ignored\n",
     "The 1841 census did not ask for the condition (married, single, widowed), so the Condition column is not used "
     "for 1841 pieces and its text was left out of the converted data. Leave it empty."},

    // Sex and age.
    {sex_missing, Field::sex, "sex marker missing", "Warning: row %d, sex marker missing\n",
     "The Sex cell is empty, so it was written as - and the Detail Flag set to x. Type M or F as the original gives "
     "it."},
    {sex_invalid, Field::sex, "sex invalid value", "Error: row %d, sex = %s invalid value\n",
     "The Sex column holds something other than M or F, so it was written as -. Type M or F as the original gives "
     "it."},
    {age_missing, Field::age, "age missing", "Warning: row %d, age missing\n",
     "The Age cell is empty, so the age was written as 999 and the Detail Flag set to x. Type the age from the "
     "original; if it cannot be read, put x in the Detail Flag."},
    {age_not_numeric, Field::age, "age not numeric", "Error: row %d, age = %s not numeric\n",
     "The Age is not a number followed by at most one letter for its unit (as in 45 or 3m), so it was written as 999 "
     "and the Detail Flag set to x. Check the cell for a typing slip, such as a letter O for a zero."},
    {age_zero, Field::age, "zero age", "Warning: row %d, zero age\n",
     "The Age is 0 (or 0m, 0w, 0d), so the Detail Flag was set to x. Check the original: a baby's age is written "
     "with its unit, such as 3m (months), 2w (weeks) or 5d (days)."},
    {age_over_120y, Field::age, "age more than 120y", "Warning: row %d, age more than 120y\n",
     "The age in years is above 120, almost certainly a typing slip such as an extra digit. Check the Age column "
     "against the original."},
    {age_over_24m, Field::age, "age more than 24m", "Warning: row %d, age more than 24m\n",
     "An age in months is above 24, though ages over two years are given in years. Check the Age column: the m may "
     "be a slip, or the age meant in years."},
    {age_over_20w, Field::age, "age more than 20w", "Warning: row %d, age more than 20w\n",
     "An age in weeks is above 20, though older babies' ages are given in months. Check the Age column for a wrong "
     "unit letter or a typing slip."},
    {age_over_30d, Field::age, "age more than 30d", "Warning: row %d, age more than 30d\n",
     "An age in days is above 30, though older babies' ages are given in weeks or months. Check the Age column for a "
     "wrong unit letter or a typing slip."},
    {age_units_invalid, Field::age, "age units invalid value", "Warning: row %d, age units = %c invalid value\n",
     "The Age ends in a character other than y, m, w or d (years, months, weeks, days), shown in the message, so the "
     "Detail Flag was set to x. Check the unit letter in the Age column."},
    {married_under_14, Field::age, "married/widowed person age under 14y",
     "Warning: row %d, married/widowed person age under 14y\n",
     "The Condition is M or W (married or widowed) but the age is under 14 years. Check the Condition and Age "
     "columns against the original: one of them is probably mistyped."},
    {detail_flag_invalid, Field::detail_flag, "detail flag invalid value",
     "Warning: row %d, detail flag = %s invalid value\n",
     "The Detail Flag holds something other than x (relationship, condition, sex or age unsure) or - (all certain), "
     "so it was set to x. Type x, or leave the cell empty."},

    // Occupation, birth place, disability and language.
    {no_room_for_employed, Field::occupation, "no room for employed status in occupation field",
     "Error: row %d, no room for employed status in occupation field\n",
     "The Employed Status is given, but the Occupation is longer than 23 characters, so the 7 characters the status "
     "adds, such as (Em'ee), do not fit; the status was left out and the Occupation Flag set to x. Shorten the "
     "occupation."},
    {employed_invalid, Field::employed, "employed status invalid value",
     "Warning: row %d, employed status = %s invalid value\n",
     "The Employed Status holds something other than E (employed), R (employer), N (neither) or -, so the Occupation "
     "Flag was set to x. Type the right letter, or leave the cell empty."},
    {employed_ignored, Field::employed, "employed status ignored", "Info: row %d, employed status ignored\n",
     "The census first asked whether a person was employer or employed in 1891, so the Employed Status column is not "
     "used for earlier pieces and its text was left out of the converted data. Leave it empty."},
    {occupation_flag_invalid, Field::occupation_flag, "occupation flag invalid value",
     "Warning: row %d, occupation flag = %s invalid value\n",
     "The Occupation Flag holds something other than x (the occupation is unsure) or - (it is certain), so it was "
     "set to x. Type x, or leave the cell empty."},
    {county_missing, Field::county, "county code missing", "Warning: row %d, county code missing\n",
     "The Chapman Code (the county of birth, such as DEV for Devon) is empty, so it was written as UNK and the Birth "
     "Place Flag set to x. Type the three-letter code for the county the original gives."},
    {county_length, Field::county, "county code invalid length", "Warning: row %d, county code = %s invalid length\n",
     "The Chapman Code (the county of birth) should be three letters, such as DEV for Devon, and this one is not, so "
     "the Birth Place Flag was set to x. Check the code in the Chapman Code column."},
    {county_unrecognised, Field::county, "unrecognised county code \x85",
     "Warning: row %d, unrecognised county code %s\n",
     "The Chapman Code is not in the list of county codes (CHAP1891.TXT, beside the program), so the Birth Place "
     "Flag was set to x. Check it for a typing slip, such as DVN for DEV (Devon)."},
    {birthplace_unusual, Field::birthplace, "birth place contains unusual characters",
     "Warning: row %d, birth place = %s contains unusual characters\n",
     "The Birth Place has a character that place names seldom have: a digit, a question mark, a slash, an accented "
     "letter or other unusual punctuation. Check the spelling against the original; if it is written so there, leave "
     "it."},
    {birthplace_missing, Field::birthplace, "birth place missing", "Info: row %d, birth place missing\n",
     "The Birth Place cell is empty, so it was written as - and the Birth Place Flag set to x. Type the birth place "
     "as the original gives it."},
    {birthplace_ignored, Field::birthplace, "birth place ignored", "Info: row %d, birth place ignored\n",
     "The 1841 census asked only whether a person was born in the same county (or in Scotland, Ireland or abroad), "
     "so the Birth Place column is not used for 1841 pieces and its text was left out of the converted data."},
    {birthplace_flag_invalid, Field::birthplace_flag, "birth place flag invalid value",
     "Warning: row %d, birth place flag = %s invalid value\n",
     "The Birth Place Flag holds something other than x (the birth place is unsure) or - (it is certain), so it was "
     "set to x. Type x, or leave the cell empty."},
    {alt_county_length, Field::alt_county, "alternate county code invalid length",
     "Warning: row %d, alternate county code = %s invalid length\n",
     "The Alt Chapman Code (the county of a second birth place) should be three letters, such as DEV for Devon, and "
     "this one is not, so the Birth Place Flag was set to x. Check the code, or leave the cell empty."},
    {alt_county_unrecognised, Field::alt_county, "unrecognised alternate county code \x85",
     "Warning: row %d, unrecognised alternate county code %s\n",
     "The Alt Chapman Code is not in the list of county codes (CHAP1891.TXT, beside the program), so the Birth Place "
     "Flag was set to x. Check it for a typing slip, such as DVN for DEV (Devon)."},
    {alt_birthplace_unusual, Field::alt_birthplace, "alternate birth place contains unusual characters",
     "Warning: row %d, alternate birth place = %s contains unusual characters\n",
     "The Alt Birth Place has a character that place names seldom have: a digit, a question mark, a slash, an "
     "accented letter or other unusual punctuation. Check the spelling against the original; if it is written so "
     "there, leave it."},
    {alt_birthplace_ignored, Field::alt_birthplace, "alternate birth place ignored",
     "Info: row %d, alternate birth place ignored\n",
     "The 1841 census gave no birth places, so the Alt Birth Place column is not used for 1841 pieces and its text "
     "was left out of the converted data. Leave it empty."},
    {disability_unusual, Field::disability, "disability contains unusual characters",
     "Warning: row %d, disability = %s contains unusual characters\n",
     "The Disability has a character that the column seldom holds: a digit, a question mark, a slash, an accented "
     "letter or other unusual punctuation. Check the spelling against the original; if it is written so there, leave "
     "it."},
    {disability_ignored, Field::disability, "disability ignored", "Info: row %d, disability ignored\n",
     "The 1841 census did not ask about disabilities, so the Disability column is not used for 1841 pieces and its "
     "text was left out of the converted data. Leave it empty."},
    {language_invalid, Field::language, "language = invalid value", "Warning: row %d, language = <%s> invalid value\n",
     "The Language must be a capital W (Welsh), E (English), B (both) or - in an English or Welsh piece, or G "
     "(Gaelic), B or - in a Scottish one, and it is not (<> means the cell is empty), so it was written as x. Type "
     "the right letter."},
    {language_ignored, Field::language, "Language ignored", "Info: row %d, Language ignored\n",
     "The Language column is used only for Scottish pieces from 1881 on and for other pieces from 1881 on whose "
     "first data row gives a language, so here its text was left out. If this piece records languages, fill in the "
     "first data row's Language."},

    // The output record.
    {household_too_large, Field::household, "household number too large for the output record",
     "Error: row %d, household number = %s too large for the output record\n",
     "The household number is negative or has more than 6 digits, more than the converted data can hold, so it was "
     "written as 999999. Check the household number for a typing slip."},
    {member_too_large, Field::member, "household member number too large for the output record",
     "Error: row %d, household member number = %s too large for the output record\n",
     "The household member number is negative or has more than 4 digits, more than the converted data can hold, so "
     "it was written as 9999. Check the member number for a typing slip."},

    // Set-up failures: the run stops. A file failure is followed on the
    // console by the system's description of it.
    {no_extension, Place::piece, "Full file name required including the three letter extension",
     "Fatal: Full file name required including the three letter extension - %s\n",
     Console{"Fatal: Full file name required including the three letter extension\n"},
     "The file was named without its ending (.csv), so the converter cannot tell what kind of file it is. Give the "
     "whole file name, such as RG110123.CSV."},
    {not_csv, Place::piece, "File must be a .csv (comma separated values)",
     "Fatal: File must be a .csv (comma separated values)\n",
     "The converter reads only spreadsheets saved as CSV (comma separated values), whose names end in .csv or .CSV. "
     "Save the spreadsheet as CSV and convert that file."},
    {census_year_unknown, Place::piece, "Census year cannot be determined from file name",
     "Fatal: Census year cannot be determined from file name (%s)\n",
     Console{"Fatal: Census year cannot be determined from file name\n"},
     "The file name must start with the census class of the piece, such as RG11 for 1881 or HO107 for 1841, followed "
     "by the piece number, and this one does not. Rename the file as in RG110123.CSV."},
    {part_not_valid, Place::piece, "Part number in file name is not valid",
     "Fatal: Part number in file name (%s) is not valid\n", Console{"Fatal: Part number in file name is not valid\n"},
     "The part number in the file name (between the census class and the piece number, shown in brackets) is not a "
     "valid one. Check the file name against the piece's reference."},
    {part_not_numeric, Place::piece, "Part number in file name is not numeric",
     "Fatal: Part number in file name (%s) is not numeric\n",
     Console{"Fatal: Part number in file name is not numeric\n"},
     "The part number in the file name (the characters between the census class and the piece number, shown in "
     "brackets) holds more than digits. Check the file name against the piece's reference."},
    {piece_not_numeric, Place::piece, "Piece number in file name is not numeric",
     "Fatal: Piece number in file name (%s) is not numeric\n",
     Console{"Fatal: Piece number in file name is not numeric\n"},
     "After the census class (such as RG11), the file name must hold the piece number in digits only, and it holds "
     "other characters (shown in brackets), as in RG11_0123 or RG110123 copy. Rename the file as in RG110123.CSV."},
    {messages_open_failed, Place::piece, "Messages file failed to open", "Fatal: Messages file (%s) failed to open\n",
     "The listing file (.erc, beside the spreadsheet) could not be written, often because it is open in another "
     "program or the folder may not be written to. Close it, or copy the spreadsheet to a folder of your own, and "
     "convert again."},
    {input_open_failed, Place::piece, "Input file failed to open", "Fatal: Input file (%s) failed to open\n",
     "The spreadsheet file could not be opened. Check that its name and folder are typed right and that the file is "
     "there."},
    {input_read_failed, Place::piece, "Input file read failed", "Fatal: Input file (%s) read failed\n",
     "Reading the spreadsheet failed part-way, for example on a USB stick or network drive that went away, so "
     "nothing was converted. Copy the file to the computer's own disk and convert it again."},
    {output_open_failed, Place::piece, "Output file failed to open", "Fatal: Output file (%s) failed to open\n",
     "The converted data file (.dat, .val or .vld, beside the spreadsheet) could not be written, often because it is "
     "open in another program or the folder may not be written to. Close it, or copy the spreadsheet to a folder of "
     "your own."},
    {output_write_failed, Place::piece, "Output file write failed", "Fatal: Output file (%s) write failed\n",
     "Writing the converted data file failed part-way, most often because the disk is full, and the unfinished file "
     "was removed. Make room on the disk and convert again."},
    {no_data, Place::piece, "No data in file, it appears to be empty",
     "Fatal: row 1, No data in file, it appears to be empty\n",
     Console{"Fatal: No data in file, it appears to be empty\n"},
     "The file is empty, or ends within its first row. Check that this is the right file and that the spreadsheet "
     "was saved as CSV with its data."},
    {one_header_row, Place::piece, "No data in file, only one header row was found",
     "Fatal: row 2, No data in file, only one header row was found\n",
     Console{"Fatal: No data in file, only one header row was found\n"},
     "The file ends by its second row, but a piece has three header rows (the piece in cell A1, the column titles, "
     "one more row) and then its data. Check that the whole spreadsheet was saved."},
    {two_header_rows, Place::piece, "No data in file, only two header rows were found",
     "Fatal: row 3, No data in file, only two header rows were found\n",
     Console{"Fatal: No data in file, only two header rows were found\n"},
     "The file ends by its third row, but a piece has three header rows (the piece in cell A1, the column titles, "
     "one more row) and then its data. Check that the whole spreadsheet was saved."},
    {titles_mismatch, Place::piece, "File type switch does not match number of columns in data",
     "Fatal: row 2, File type switch does not match number of columns in data (%d)\n"
     "\tall the titles in row 2 must be non-blank\n",
     Console{"Fatal: File type switch does not match number of columns in data\n"
             "\tall the headers in row 2 must be non-blank\n"},
     "Row 2 must hold one title for each column, and the number of titles found (in brackets) does not fit the "
     "layout chosen: 25 without a switch, 26 with -c, 28 or 29 with -d. Check row 2 for a blank title (the count "
     "stops there), or choose the switch that fits."},

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
