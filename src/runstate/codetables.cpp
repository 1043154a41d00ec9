#include "codetables.h"

#include <cstdio>

#include "file.h"
#include "paths.h"
#include "platform.h"

namespace tabulon {

namespace {

// A county code stands in columns 21 to 23 of its line.
constexpr std::size_t county_code_end = 23;

// Opens a code file for reading; a directory of that name counts as missing.
File open_code_file(const std::string& path)
{
    File in(std::fopen(path.c_str(), "r"));
    if (in && platform::is_directory(in.get()))
        in.reset();
    return in;
}

// Reads the file's lines whole, whatever their length, and hands each to take
// without its CR LF or LF end.
template <typename Take>
void read_lines(std::FILE* in, Take take)
{
    std::string line;
    bool any = false;
    for (int c = std::getc(in);; c = std::getc(in)) {
        if (c == EOF || c == '\n') {
            if (c == EOF && !any)
                break;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            take(line);
            line.clear();
            any = false;
            if (c == EOF)
                break;
            continue;
        }
        line += static_cast<char>(c);
        any = true;
    }
}

void load_county_codes(const std::string& program_dir, CodeTables& tables, Listing& listing)
{
    const std::string path = paths::makepath(program_dir, "CHAP1891", "TXT");
    File in = open_code_file(path);
    if (!in) {
        listing.warning("Warning: Aux file %s failed to open, county code checking disabled\n\n", path);
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
        listing.warning("Warning: Too many counties in aux file, county code checking disabled\n\n");
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
        listing.warning("Warning: Aux file %s failed to open, relationship code checking disabled\n\n",
                        path);
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
        listing.warning("Warning: Too many relationships in aux file, relationship code checking disabled\n\n");
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
    return tables;
}

int cfind(const std::vector<std::string>& table, const std::string& key)
{
    for (const auto& code : table) {
        if (code.empty())
            return -1;
        if (code == key)
            return 1;
    }
    return -1;
}

}  // namespace tabulon
