#include "codetables.h"

#include <algorithm>
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

// A code of up to seven bytes as one number: its length in the low byte, its
// bytes above, so that two codes are equal exactly when their numbers are.
constexpr std::size_t max_packed = 7;

std::uint64_t packed(std::string_view code)
{
    std::uint64_t key = code.size();
    for (std::size_t i = 0; i < code.size(); ++i)
        key |= static_cast<std::uint64_t>(static_cast<unsigned char>(code[i])) << (8 * (i + 1));
    return key;
}

// The place of a code of three capital letters among all such codes; -1 for
// any other text.
int three_capitals_slot(std::string_view code)
{
    if (code.size() != 3)
        return -1;
    int slot = 0;
    for (const char c : code) {
        if (c < 'A' || c > 'Z')
            return -1;
        slot = slot * 26 + (c - 'A');
    }
    return slot;
}

constexpr std::size_t three_capitals_codes = 26 * 26 * 26;

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

CodeTables::Index index_codes(const std::vector<std::string>& table)
{
    CodeTables::Index index;
    index.three_capitals.assign((three_capitals_codes + 63) / 64, 0);
    for (const std::string& code : table) {
        if (code.empty())
            break;
        if (code.size() > max_packed)
            return {};
        index.keys.push_back(packed(code));
        if (const int slot = three_capitals_slot(code); slot >= 0)
            index.three_capitals[static_cast<std::size_t>(slot) / 64] |= std::uint64_t{1} << (slot % 64);
    }

    std::sort(index.keys.begin(), index.keys.end());
    index.made = true;
    return index;
}

int cfind(const std::vector<std::string>& table, std::string_view key)
{
    for (const auto& code : table) {
        if (code.empty())
            return -1;
        if (code == key)
            return 1;
    }
    return -1;
}

bool known_code(const std::vector<std::string>& table, const CodeTables::Index& index, std::string_view key)
{
    if (!index.made)
        return cfind(table, key) > 0;
    if (const int slot = three_capitals_slot(key); slot >= 0)
        return (index.three_capitals[static_cast<std::size_t>(slot) / 64] >> (slot % 64)) & 1;
    return key.size() <= max_packed && std::binary_search(index.keys.begin(), index.keys.end(), packed(key));
}

}  // namespace tabulon
