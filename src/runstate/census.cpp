#include "census.h"

#include <climits>
#include <string_view>

#include "charclass.h"
#include "conventions.h"
#include "text.h"

namespace tabulon {

namespace {

// How a prefix finds its part field.
enum class PartRule { none, chars_4_5, letter, rule_1841 };

struct Prefix {
    std::string_view text;
    int year;
    bool sct;
    PartRule part_rule;
    std::size_t piece_from;  // position of the piece text, counting from 1
    std::string_view stem;
};

constexpr Prefix prefixes[] = {
    {"HO1", 1841, false, PartRule::rule_1841, 5, "ho10"},
    {"HO4", 1841, false, PartRule::letter, 5, "ho41"},
    {"HS4", 1841, true, PartRule::chars_4_5, 6, "hs4"},
    {"HO5", 1851, false, PartRule::letter, 5, "ho51"},
    {"HS5", 1851, true, PartRule::chars_4_5, 6, "hs5"},
    {"RG09", 1861, false, PartRule::none, 5, "rg09"},
    {"RG9", 1861, false, PartRule::none, 4, "rg09"},
    {"RS6", 1861, true, PartRule::chars_4_5, 6, "rs6"},
    {"RG10", 1871, false, PartRule::none, 5, "rg10"},
    {"RS7", 1871, true, PartRule::chars_4_5, 6, "rs7"},
    {"RG11", 1881, false, PartRule::none, 5, "rg11"},
    {"RS8", 1881, true, PartRule::chars_4_5, 6, "rs8"},
    {"RG12", 1891, false, PartRule::none, 5, "rg12"},
    {"RS9", 1891, true, PartRule::chars_4_5, 6, "rs9"},
    {"RG13", 1901, false, PartRule::none, 5, "rg13"},
    {"RS0", 1901, true, PartRule::chars_4_5, 6, "rs0"},
};

// Longest piece text that is read; longer ones are refused as not numeric.
constexpr std::size_t max_piece_text = 15;

// Characters from position `from` (counting from 1) on, at most count of them.
std::string from_position(const std::string& s, std::size_t from, std::size_t count = std::string::npos)
{
    return from - 1 < s.size() ? s.substr(from - 1, count) : std::string();
}

struct Decoded {
    std::string stem;
    std::string part = "00";
    std::string piece;
    bool has_1841_part = false;
    bool ipart_set = false;
};

// The 1841 English rule: character 5 tells a part field from the piece.
// Returns false when the part value is not valid (10 or 20).
bool apply_1841_rule(const std::string& upper, Decoded& d, int& ipart)
{
    const bool has5 = upper.size() >= 5;
    if (!has5 || static_cast<signed char>(upper[4]) <= '6') {
        d.stem = "ho10";
        d.piece = from_position(upper, 5);
        return true;
    }
    d.part = upper.substr(3, 2);
    int value = 10 * (upper[4] - '7') + (upper[3] - '0');
    if (value == 10 || value == 20)
        return false;
    if (value > 20)
        --value;
    if (value > 10)
        --value;
    ipart = value;
    d.ipart_set = true;
    d.piece = from_position(upper, 6);
    if (value == 0) {
        d.stem = "ho107";
        d.part = "00";
    } else {
        d.stem = "ho1";
        d.has_1841_part = true;
    }
    return true;
}

// HO4 and HO5: a letter in position 4 names the part (A is 01).
void apply_letter_rule(const std::string& upper, const Prefix& prefix, Decoded& d)
{
    d.stem = std::string(prefix.stem);
    if (upper.size() >= 4 && upper[3] >= 'A' && upper[3] <= 'Z') {
        d.part = text::zero_padded(upper[3] - 'A' + 1, 2);
        d.stem[3] = static_cast<char>(upper[3] - 'A' + 'a');
    }
    d.piece = from_position(upper, 5);
}

}  // namespace

bool is_piece_extension(std::string_view ext)
{
    return ext == "csv" || ext == "CSV";
}

CensusName read_census_name(const std::string& name)
{
    CensusName result;
    std::string upper = name;
    text::capitals(upper, text::CaseMap::eight_bit);

    const Prefix* prefix = nullptr;
    for (const auto& p : prefixes) {
        if (upper.compare(0, p.text.size(), p.text) == 0) {
            prefix = &p;
            break;
        }
    }
    if (!prefix) {
        result.fault = CensusName::Fault::no_prefix;
        return result;
    }
    result.year = prefix->year;
    result.sct = prefix->sct;

    Decoded d;
    switch (prefix->part_rule) {
    case PartRule::rule_1841:
        if (!apply_1841_rule(upper, d, result.ipart)) {
            result.fault = CensusName::Fault::part_not_valid;
            result.fault_text = upper.substr(3, 2);
            return result;
        }
        break;
    case PartRule::letter:
        apply_letter_rule(upper, *prefix, d);
        break;
    case PartRule::chars_4_5:
        d.stem = std::string(prefix->stem);
        d.part = from_position(upper, 4, 2);
        d.piece = from_position(upper, prefix->piece_from);
        break;
    case PartRule::none:
        d.stem = std::string(prefix->stem);
        d.piece = from_position(upper, prefix->piece_from);
        break;
    }

    if (!charclass::all_digits(d.part)) {
        result.fault = CensusName::Fault::part_not_numeric;
        result.fault_text = d.part;
        return result;
    }
    if (!d.ipart_set)
        result.ipart = static_cast<int>(text::leading_value(d.part));
    if (result.sct) {
        // The Scottish part field carries the part number plus 10.
        if (result.ipart < 10) {
            result.fault = CensusName::Fault::part_not_valid;
            result.fault_text = d.part;
            return result;
        }
        result.ipart -= 10;
    }

    const bool piece_ok = d.piece.size() <= max_piece_text && charclass::all_digits(d.piece) &&
                          text::leading_value(d.piece) <= INT_MAX;
    if (!piece_ok) {
        result.fault = CensusName::Fault::piece_not_numeric;
        result.fault_text = d.piece;
        return result;
    }
    if (d.has_1841_part || result.sct)
        d.stem += d.part;
    const long long piece = text::leading_value(d.piece);
    result.normalised = d.stem + text::zero_padded(piece, d.stem.size() == 5 ? 3 : 4);
    return result;
}

int decode_census(std::string& name, Run& run, Listing& listing)
{
    const CensusName census = read_census_name(name);
    run.year = census.year;
    run.sct = census.sct;
    run.ipart = census.ipart;
    switch (census.fault) {
    case CensusName::Fault::none:
        name = census.normalised;
        return 0;
    case CensusName::Fault::no_prefix:
        listing.report(msg::census_year_unknown, name);
        break;
    case CensusName::Fault::part_not_valid:
        listing.report(msg::part_not_valid, census.fault_text);
        break;
    case CensusName::Fault::part_not_numeric:
        listing.report(msg::part_not_numeric, census.fault_text);
        break;
    case CensusName::Fault::piece_not_numeric:
        listing.report(msg::piece_not_numeric, census.fault_text);
        break;
    }
    return exit_status::fatal;
}

}  // namespace tabulon
