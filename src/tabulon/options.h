// The converter's command line: usage text and switches; which title counts
// each layout switch takes; and the layout switches a piece needs, found from
// its opening rows.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "run.h"

namespace tabulon {

void usage();

// Reads the switches into run; returns the index of the input file name in
// argv, or 0 when there is none or help was asked for.
int options(int argc, char** argv, Run& run);

// Does row 2's count of titles fit the record length the switches chose? 25
// with no switch, 26 with -c, 28 or 29 with -d. (The ALL layout has no
// titles, and its column count is not tested.)
bool titles_match(int count, const Run& run);

// The letters of a layout's switches, as the converter takes them: "" (none),
// "c", "d", "a", "ac" or "ad".
using LayoutLetters = std::string_view;

// Is this a letter that chooses the layout (-a, -b, -c, -d)?
bool is_layout_letter(char letter);

// The layout switches as they are typed ("-a", "-c"); none for "".
std::vector<std::string> layout_arguments(LayoutLetters letters);

// Sets the run's layout and record length as the letters' switches would
// (after the defaults); the other switches stay as they are.
void apply_layout(LayoutLetters letters, Run& run);

// The letters of the layout the listing's run description names ("SS-CENS",
// "CHECK-CENS" gives "c"); false when the names are no layout's.
bool layout_named(std::string_view input_format, std::string_view output_format, std::string& letters);

// What a piece's opening rows say about its layout.
struct LayoutFit {
    bool read = false;     // the piece could be read and has a row
    int titles = 0;        // row 2's titles, counted as the converter counts them
    int row1_cells = 0;    // the cells of row 1, the first data row in the ALL layout
    bool fits = false;     // a layout fits; letters names it
    std::string letters;   // "", "c", "d" (row 2's titles fit), "a", "ac", "ad" (row 1's cells fit)
};

// Reads the first two rows of the piece (open for reading in binary mode, at
// its start) as the converter reads them: byte-order marks, UTF-8, UTF-16,
// quoted cells and cells on several lines all as the converter takes them.
// Row 2's titles decide first, by the converter's own test (titles_match);
// when no layout with header rows takes them, row 1 is taken as an ALL-layout
// data row, whose cells must be as many as that layout's columns: 28 with no
// other switch, 29 with -c, 31 with -d. A piece whose cells fit neither fits
// no layout.
LayoutFit find_layout(std::FILE* piece);

// The layout found, for a summary line: "-c (26 titles in row 2)", "no switch
// (25 titles in row 2)", "-a (28 cells in row 1)".
std::string layout_found(const LayoutFit& fit);

// What would have fitted, when the converter stopped because row 2's titles
// did not fit the switches: "the layout that fits: -c (26 titles in row 2)",
// or why no layout fits, with the counts each one takes.
std::string layout_advice(const LayoutFit& fit);

// Is this the converter's Fatal line about row 2's count of titles?
bool is_titles_mismatch(std::string_view fatal_line);

}  // namespace tabulon
