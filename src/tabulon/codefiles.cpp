#include "codefiles.h"

#include <cstdio>

#include "file.h"
#include "linereader.h"
#include "paths.h"
#include "platform.h"

namespace tabulon {

namespace {

// A county code stands in columns 21 to 23 of its line.
constexpr std::size_t county_code_end = 23;

// Opens a code file for reading; a directory of that name counts as missing.
// It is read in binary, as a piece is, so that its encoding can be told.
File open_code_file(const std::string& path)
{
    File in(std::fopen(path.c_str(), "rb"));
    if (in && platform::is_directory(in.get()))
        in.reset();
    return in;
}

// Reads the file's lines whole, whatever their length, and hands each to take
// without its line end. The file is read as a piece is: a table saved by an
// editor as UTF-8 (with or without a byte-order mark) or as UTF-16 gives the
// same codes as one saved in Windows-1252.
template <typename Take>
void read_lines(std::FILE* in, Take take)
{
    LineReader reader(in);
    std::string line;
    while (reader.fgetm(line)) {
        if (line.back() == '\n')
            line.pop_back();
        take(line);
    }
}

void load_county_codes(const std::string& program_dir, CodeTables& tables, Listing& listing)
{
    const std::string path = paths::makepath(program_dir, "CHAP1891", "TXT");
    File in = open_code_file(path);
    if (!in) {
        listing.report(msg::aux_county_failed, path);
        return;
    }
    std::size_t lines = 0;
    read_lines(in.get(), [&](const std::string& line) {
        // The code stands in columns 21 to 23. A line too short to hold one
        // (a blank line, a heading) is passed over and not counted.
        if (line.size() < county_code_end)
            return;
        if (++lines <= max_codes)
            tables.ccodes.push_back(line.substr(county_code_end - 3, 3));
    });
    if (lines > max_codes) {
        tables.ccodes.clear();
        listing.report(msg::too_many_counties);
        return;
    }
    tables.ccheck = true;
}

void load_relationship_codes(const std::string& program_dir, CodeTables& tables, Run& run,
                             Listing& listing)
{
    if (!run.rcheck)
        return;
    const std::string path = paths::makepath(program_dir, "relcodes", "txt");
    File in = open_code_file(path);
    if (!in) {
        listing.report(msg::aux_relationship_failed, path);
        run.rcheck = false;
        return;
    }
    std::size_t lines = 0;
    read_lines(in.get(), [&](const std::string& line) {
        if (++lines <= max_codes)
            tables.rcodes.push_back(line.substr(0, 6));
    });
    if (lines > max_codes) {
        tables.rcodes.clear();
        listing.report(msg::too_many_relationships);
        run.rcheck = false;
    }
}

}  // namespace

CodeTables load_code_tables(const std::string& program_dir, Run& run, Listing& listing)
{
    CodeTables tables;
    if (run.year <= 1841)
        return tables;
    load_county_codes(program_dir, tables, listing);
    load_relationship_codes(program_dir, tables, run, listing);
    tables.county_index = index_codes(tables.ccodes);
    tables.relationship_index = index_codes(tables.rcodes);
    return tables;
}

}  // namespace tabulon
