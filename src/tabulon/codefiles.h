// The optional county-code and relationship-code files beside the program,
// read into their tables at the start of a run.
#pragma once

#include <string>

#include "codetables.h"
#include "listing.h"
#include "run.h"

namespace tabulon {

// Loads the tables from program_dir for a census after 1841. Clears
// run.rcheck when the relationship codes cannot be used.
CodeTables load_code_tables(const std::string& program_dir, Run& run, Listing& listing);

}  // namespace tabulon
