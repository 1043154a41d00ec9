// Listing mode: the whole parameters file as readable text in a ".lst" file
// beside the data file. The data file is only read. The listing is written
// under an unfinished name and takes its own only when it is whole, so that
// a listing that could not be finished (a full disk) leaves the earlier one
// as it was.
#pragma once

#include <string>

#include "console.h"
#include "paramfile.h"
#include "session.h"

namespace quillet {

// The data file's directory and base name with the extension "lst".
std::string listing_path(const std::string& data_path);

// Do two paths name one file? The same text, or (where the system can tell)
// the same file reached by another name.
bool names_same_file(const std::string& one, const std::string& other);

// Writes the listing up to the end of the file, or up to its first failed
// write (listing.error).
void write_listing(TextOut& listing, ParamFile& file, const Session& session);

// Opens the listing, writes it, closes both files and puts the listing in
// place; returns the exit status.
int run_listing(ParamFile& file, const Session& session);

}  // namespace quillet
