// Reading back what the converter wrote: its listing (.erc), with the header,
// the run description, the findings with their rows, a Fatal end and the
// closing lines; and the Fatal lines of its console.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "messages.h"

struct ListingFinding {
    int row = 0;  // the file row; 0 for a finding about the whole piece, or a row that cannot be read
    msg::Severity severity = msg::Severity::error;
    std::string line;                     // as the listing has it, without its line end
    const msg::Entry* message = nullptr;  // the entry it was written from; nullptr: a text the catalogue does not know
};

struct ListingSummary {
    bool has_header = false;
    std::string converting;     // the piece's path as the converter was given it
    bool has_description = false;
    int year = 0;
    std::string input_format;   // "SS-CENS" or "ALL"
    std::string output_format;  // "IN-CENS", "CHECK-CENS" or "VALD-REV"
    std::string mode;           // "QUIET", "VERBOSE" or empty
    std::vector<ListingFinding> findings;  // in listing order, when they are kept
    std::vector<std::string> fatal;        // the Fatal lines (and their continuations)
    std::string records_line;   // "Output 9 records, highest household number = 6"
    std::string output_file;    // from "Output file is ..."
    long long errors = 0, warnings = 0, infos = 0;  // the Error, Warning and Info lines
    // The converter finished writing it: it ends, line end and all, either in
    // a Fatal (with its continuation) or, after its header line, in the two
    // closing lines ("Output %d records, ..." and "Output file is ...").
    // Nothing else of an unfinished listing can be believed.
    bool finished = false;
};

// Reads a listing a line at a time.
class ListingReader {
public:
    // keep_findings: gather the findings, each with its catalogue entry, or
    // only count them. name_line_breaks: the line breaks in the piece's name;
    // the lines that hold the name (the header line, the first Fatal line) go
    // on over that many more lines.
    explicit ListingReader(bool keep_findings, std::size_t name_line_breaks = 0);

    // The next line, without its line feed.
    void take(std::string_view line);

    // The listing is over; ended: its last byte was a line feed.
    ListingSummary finish(bool ended);

private:
    enum class Shape { other, empty, records, output_file };

    void read(std::string_view line);
    void take_finding(std::string_view line, msg::Severity severity);

    bool keep_findings_;
    std::size_t name_line_breaks_;
    std::string held_;           // a line that holds the name, while its other lines come
    std::size_t lines_to_come_ = 0;
    bool in_fatal_ = false;
    std::array<Shape, 4> last_{};  // the shapes of the last four lines, the latest last
    ListingSummary out_;
};

// A whole listing's bytes, findings kept; lines may end in LF or CR LF.
ListingSummary read_listing(std::string_view text);

// The Fatal lines of what the converter wrote to the console, joined by "; ",
// without the progress counter before them: why it stopped when it left no
// listing. Empty when it said none.
std::string console_fatal(std::string_view console);
