// Census identification from the input file's base name.
#pragma once

#include <string>

#include "listing.h"
#include "run.h"

namespace tabulon {

// Reads the archive class prefix, part and piece out of name and sets year,
// sct and ipart in run; rewrites name into its normalised lower-case form
// (RG11123 becomes rg110123). Returns 0, or exit_status::fatal after writing
// the Fatal lines.
int decode_census(std::string& name, Run& run, Listing& listing);

}  // namespace tabulon
