// The named fields of one spreadsheet row and the values carried from the row before.
#pragma once

#include <string>

#include "codetables.h"
#include "run.h"

namespace rowchecks {

// Widths at which each cell is read; a longer cell is cut with an error.
namespace width {
inline constexpr std::size_t status = 1, book = 4, household = 6, member = 4, parish = 20,
                             district = 20, ed = 4, folio = 5, page = 4, schedule = 4, house = 5,
                             address = 30, flag = 1, surname = 24, forenames = 24,
                             relationship = 6, condition = 1, sex = 1, age = 4, occupation = 30,
                             county = 3, birthplace = 20, disability = 6, language = 1, notes = 44;
}

struct Row {
    std::string status;
    std::string book;
    std::string household;
    std::string member;
    std::string parish;
    std::string district;
    std::string ed;
    std::string folio;
    std::string page;
    std::string schedule;
    std::string house;
    std::string address;
    std::string uninhabited;
    std::string surname;
    std::string forenames;
    std::string name_flag;
    std::string relationship;
    std::string condition;
    std::string sex;
    std::string age;
    std::string detail_flag;
    std::string occupation;
    std::string employed;
    std::string occupation_flag;
    std::string county;
    std::string birthplace;
    std::string birthplace_flag;
    std::string alt_county;
    std::string alt_birthplace;
    std::string disability;
    std::string language;
    std::string notes;

    // Row state that is not a column.
    std::string address_flag;  // "x" when the address was uncertain
    // ALL layout: the household and member numbers as typed, which the next
    // row's numbering is compared with even when a break renumbers this row.
    std::string household_cell, member_cell;
    bool new_household = false;
    bool uninhabited_row = false;  // a building rather than a person

    // Numbers as they stood before their suffix was split off, and the suffixes.
    std::string ed_text, folio_text, schedule_text, house_text;
    char ed_suffix = ' ';
    char folio_suffix = ' ';
    char schedule_suffix = ' ';
    char house_suffix = ' ';
    char age_units = ' ';
};

// Values kept from the previous non-blank row. Only the end-of-row store
// writes them (and the first data row, which starts the piece's ED and folio).
struct Carried {
    std::string prev_household = "0";
    std::string prev_member = "0";
    std::string prev_parish;
    std::string prev_district;
    std::string prev_ed;
    std::string prev_folio;
    std::string prev_page;
    std::string prev_schedule;
    std::string prev_house;
    std::string prev_address;
    std::string prev_uninhabited;
    std::string prev_book;
};

// Running tallies of the row loop, each updated by the check group named.
struct Tallies {
    int page_lines = 0;              // rows on the current page (sequence)
    int folio_pages = 0;             // pages on the current folio (sequence)
    bool language_used = false;      // the first data row had a language (location)
    long long highest_household = 0; // for the ALL layout's summary (building)
};

// Where the loop stands in the file.
struct RowCount {
    int n = 0;           // physical row number of the current row
    int first_row = 1;   // number of the first data row
    int row_offset = 3;  // rows that give no record: the header rows and blank rows
};

// What a check group may read of the run and of the rows before this one.
struct RowContext {
    const tabulon::Run& run;
    const tabulon::CodeTables& tables;
    const Carried& prev;
    int n;          // the row's number in the file
    int first_row;  // the number of the first data row

    bool first() const { return n == first_row; }
};

// Everything the row loop keeps from one row to the next.
struct LoopState {
    RowCount count;
    Row row;
    Carried carried;
    Tallies tallies;
};

}  // namespace rowchecks
