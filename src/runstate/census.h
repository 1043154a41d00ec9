// What the converter reads from the input file's name: whether its extension
// is one it converts, and the census identity from its base name.
#pragma once

#include <string>
#include <string_view>

#include "listing.h"
#include "run.h"

namespace tabulon {

// Is ext (the file name from its first dot on, without that dot) one that the
// converter reads? Only "csv" and "CSV": other mixtures of case are refused.
bool is_piece_extension(std::string_view ext);

// The census identity a base name gives, or why it gives none.
struct CensusName {
    enum class Fault { none, no_prefix, part_not_valid, part_not_numeric, piece_not_numeric };
    Fault fault = Fault::none;
    std::string fault_text;  // the part or piece text that is at fault
    int year = 0;
    bool sct = false;
    int ipart = 0;
    std::string normalised;  // the output file's base name (RG11123 gives rg110123); empty on a fault
};

// Reads the archive class prefix, part and piece out of a base name.
CensusName read_census_name(const std::string& name);

// read_census_name for the converter's run: sets year, sct and ipart in run
// and rewrites name into its normalised form. Returns 0, or
// exit_status::fatal after writing the Fatal lines.
int decode_census(std::string& name, Run& run, Listing& listing);

}  // namespace tabulon
