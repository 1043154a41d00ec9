// The columns of the two input layouts: which field each column of a row
// holds, the width it is read at and whether its question marks are turned
// into a flag. cut_fields reads rows in exactly this order (a test holds the
// two together); programs that show a piece cell by cell use this table.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "row.h"
#include "row_fields.h"
#include "run.h"

namespace rowchecks {

// How the row intake treats a question mark in the column.
enum class Query { none, plain, flag };

struct Column {
    Field field;
    std::size_t width;
    Query query;
};

// The columns of a data row, left to right, for the run's layout, record
// length and census (the 1841 English 299 layout ends with the book).
std::vector<Column> columns(const tabulon::Run& run);

// The column's name as a transcriber knows it ("Civil parish", "Birth place flag").
const char* field_title(Field field);

// The field's text in a row.
text::Field Row::*field_member(Field field);

}  // namespace rowchecks
