// Reading back a listing (.erc) that the converter wrote: its header, the
// run description, the findings with their rows, a Fatal end, the summary.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tabreport {

enum class Severity { error, warning, info };

struct Finding {
    int row = 0;           // the file row; 0 for a finding about the whole piece, or a row that cannot be read
    Severity severity = Severity::error;
    std::string line;      // as the listing has it, without its line end
    int message = -1;      // index into messages(); -1: a text the table does not know
};

struct ListingSummary {
    bool has_header = false;
    std::string converting;     // the piece's path as the converter was given it
    bool has_description = false;
    int year = 0;
    std::string input_format;   // "SS-CENS" or "ALL"
    std::string output_format;  // "IN-CENS", "CHECK-CENS" or "VALD-REV"
    std::string mode;           // "QUIET", "VERBOSE" or empty
    std::vector<Finding> findings;  // in listing order
    std::vector<std::string> fatal; // the Fatal lines (and their continuations)
    std::string records_line;   // "Output 9 records, highest household number = 6"
    std::string output_file;    // from "Output file is ..."
    int errors = 0, warnings = 0, infos = 0;
    // The converter finished writing it: it ends, line end and all, either in
    // a Fatal (with its continuation) or, after its header line, in the two
    // closing lines ("Output %d records, ..." and "Output file is ...").
    // Nothing else of an unfinished listing can be believed.
    bool finished = false;
};

// Reads the listing's bytes; lines may end in LF or CR LF.
ListingSummary read_listing(std::string_view text);

}  // namespace tabreport
