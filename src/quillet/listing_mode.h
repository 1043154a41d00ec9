// Listing mode: the whole parameters file as readable text in a ".lst" file
// beside the data file. The data file is only read.
#pragma once

#include <cstdio>
#include <string>

#include "paramfile.h"
#include "session.h"

namespace quillet {

// The data file's directory and base name with the extension "lst".
std::string listing_path(const std::string& data_path);

// Do two paths name one file? The same text, or (where the system can tell)
// the same file reached by another name.
bool names_same_file(const std::string& one, const std::string& other);

void write_listing(std::FILE* listing, ParamFile& file, const Session& session);

// Opens the listing, writes it, closes both files; returns the exit status.
int run_listing(ParamFile& file, const Session& session);

}  // namespace quillet
