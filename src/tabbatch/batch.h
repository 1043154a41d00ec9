// Converting every piece in a folder tree, one converter process per piece and
// as many at once as there are processors.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "conventions.h"
#include "run.h"

namespace tabbatch {

struct Settings {
    std::filesystem::path root;         // the folder tree, or one piece
    std::vector<std::string> switches;  // given to the converter for every piece
    tabulon::Run run;                   // what they set, read as the converter reads them
    bool layout_given = false;          // -a, -b, -c or -d among them; else each piece's layout is found
    bool tsv = false;                   // write every piece's findings into one findings file
    unsigned jobs = 1;                  // converters running at once
};

// The findings file of a batch: in the folder converted, or beside the piece.
std::filesystem::path findings_file_of(const Settings& settings);

// What a listing says about its run: the Error and Warning lines it holds
// (each one counted once by the converter), and its Fatal line if any.
struct ListingCounts {
    long long errors = 0;
    long long warnings = 0;
    std::string fatal;
    bool found = false;
};

// The listing the converter writes for piece: beside it, named by the part
// of the file name before its first dot, with the extension erc.
std::filesystem::path listing_of(const std::filesystem::path& piece);

// name_line_breaks: the line breaks in the piece's name. The lines that hold
// the name (the header line, a Fatal line) go on over that many more lines.
ListingCounts read_listing(const std::filesystem::path& listing, std::size_t name_line_breaks);

// What became of one piece.
struct Outcome {
    bool started = false;
    bool exited = false;  // the converter ended normally, with status
    int status = 0;
    ListingCounts counts;
    std::string console_fatal;  // why it stopped, when it left no listing of this run
    std::string clash;          // not started: it would write the files of other pieces
    std::string layout;         // the layout found for it, when the batch chose it ("-c (26 titles in row 2)")
    std::string advice;         // it stopped on row 2's titles: the layout that fits, or why none does

    bool converted() const
    {
        return started && exited &&
               (status == exit_status::tabulon::clean || status == exit_status::tabulon::warnings ||
                status == exit_status::tabulon::errors);
    }
};

// "name: status 8, 12 errors, 3 warnings", with "; layout found: -c (26
// titles in row 2)" when the batch chose it; or why the piece was not
// converted, with the layout that fits when row 2's titles did not.
std::string summary_line(const std::string& name, const Outcome& outcome);

struct Totals {
    long long pieces = 0, clean = 0, warnings_only = 0, with_errors = 0, not_converted = 0;
    long long errors = 0, warnings = 0;

    void add(const Outcome& outcome);
    int exit_status() const;
};

std::string total_line(const Totals& totals);

// Converts every piece under settings.root with the converter program,
// writing what the scan passed over, one line per piece (in path order) and
// the total to out and the progress line to progress. Returns the batch's
// exit status.
int run(const Settings& settings, const std::filesystem::path& converter, std::FILE* out, std::FILE* progress);

}  // namespace tabbatch
