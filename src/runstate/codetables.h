// The county-code and relationship-code tables, and the look-ups in them.
#pragma once

#include <cstdint>
#include <string_view>
#include <string>
#include <vector>


namespace tabulon {

struct CodeTables {
    std::vector<std::string> ccodes;  // county codes, 3 characters each, in file order
    std::vector<std::string> rcodes;  // relationship codes, at most 6 characters each
    bool ccheck = false;              // county codes are looked up

    // The codes a look-up can find, for the look-ups of every row (made by
    // load_code_tables; without them known_code searches the lists).
    struct Index {
        std::vector<std::uint64_t> keys;  // each code packed into a number, sorted
        // A bit for each code of three capital letters A to Z (county codes
        // are such), looked up without a search.
        std::vector<std::uint64_t> three_capitals;
        bool made = false;
    };
    Index county_index;
    Index relationship_index;
};

// The index of the codes before the first empty one; not made when a code is
// too long to pack.
CodeTables::Index index_codes(const std::vector<std::string>& table);

// Most codes a table holds; a longer file switches its check off.
inline constexpr std::size_t max_codes = 149;

// 1 when key is in the table (exact text, same case), -1 when not. An empty
// code ends the table, as it would a table of terminated slots.
int cfind(const std::vector<std::string>& table, std::string_view key);

// cfind(table, key) > 0, through the table's index when it was made.
bool known_code(const std::vector<std::string>& table, const CodeTables::Index& index, std::string_view key);

}  // namespace tabulon
