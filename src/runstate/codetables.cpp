#include "codetables.h"

#include <algorithm>

namespace tabulon {

namespace {

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
