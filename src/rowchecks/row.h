// The named fields of one spreadsheet row and the values carried from the row before.
#pragma once

#include <string>

#include "codetables.h"
#include "field.h"
#include "run.h"

namespace rowchecks {

struct Row {
    text::Field status;
    text::Field book;
    text::Field household;
    text::Field member;
    text::Field parish;
    text::Field district;
    text::Field ed;
    text::Field folio;
    text::Field page;
    text::Field schedule;
    text::Field house;
    text::Field address;
    text::Field uninhabited;
    text::Field surname;
    text::Field forenames;
    text::Field name_flag;
    text::Field relationship;
    text::Field condition;
    text::Field sex;
    text::Field age;
    text::Field detail_flag;
    text::Field occupation;
    text::Field employed;
    text::Field occupation_flag;
    text::Field county;
    text::Field birthplace;
    text::Field birthplace_flag;
    text::Field alt_county;
    text::Field alt_birthplace;
    text::Field disability;
    text::Field language;
    text::Field notes;

    // Row state that is not a column.
    text::Field address_flag;  // "x" when the address was uncertain
    // ALL layout: the household and member numbers as typed, which the next
    // row's numbering is compared with even when a break renumbers this row.
    text::Field household_cell, member_cell;
    bool new_household = false;
    bool uninhabited_row = false;  // a building rather than a person

    // Numbers as they stood before their suffix was split off, and the suffixes.
    text::Field ed_text, folio_text, schedule_text, house_text;
    char ed_suffix = ' ';
    char folio_suffix = ' ';
    char schedule_suffix = ' ';
    char house_suffix = ' ';
    char age_units = ' ';
};

// Values kept from the previous non-blank row. Only the end-of-row store
// writes them (and the first data row, which starts the piece's ED and folio).
struct Carried {
    text::Field prev_household{"0"};
    text::Field prev_member{"0"};
    text::Field prev_parish;
    text::Field prev_district;
    text::Field prev_ed;
    text::Field prev_folio;
    text::Field prev_page;
    text::Field prev_schedule;
    text::Field prev_house;
    text::Field prev_address;
    text::Field prev_uninhabited;
    text::Field prev_book;
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
