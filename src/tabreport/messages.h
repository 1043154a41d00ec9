// Every finding the converter can write, with the place in the piece it is
// about: a column of the row, the cell that the reader or the question-mark
// rule stopped at, the whole row, or the piece as a whole.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "columns.h"

namespace tabreport {

enum class Place {
    column,      // the row's cell in `field`'s column (the whole row when the layout has none)
    cut_cell,    // the cell the field extractor reported while cutting the row
    query_cell,  // the cell whose question mark was taken out
    row,         // the row as a whole
    piece,       // no row: the piece, its header or the code tables
};

struct Message {
    std::string_view format;  // the text as the converter writes it, line end(s) included
    Place place;
    rowchecks::Field field = rowchecks::Field::status;  // for Place::column
};

std::span<const Message> messages();

// Does the listing line (without its line end) read as format? %d stands for
// a number, %s for any text, %c for one character.
bool matches(std::string_view line, std::string_view format);

// The message of the table that the line was written from: the match with the
// most fixed text wins. -1 when none matches.
int find_message(std::string_view line);

// The kind of a finding for a reader: the format without its class, row and
// values ("Warning: row %d, page number = %s not sequential\n" reads "page
// number not sequential"; a value standing alone reads as an ellipsis). In
// Windows-1252, as the listing's own texts are.
std::string kind_label(std::string_view format);

// The label as a fragment of an address: lower-case letters, digits and '-'.
std::string kind_slug(std::string_view label);

}  // namespace tabreport
