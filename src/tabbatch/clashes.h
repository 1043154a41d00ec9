// Pieces that must not be converted at once: two pieces of one folder whose
// conversions would write the same data file or the same listing would mix
// their records and findings in it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "run.h"

namespace tabbatch {

// The files the converter writes for a piece, named as it names them: the
// listing from the base name as given, the data file from the normalised one.
struct OutputNames {
    std::string listing;  // "RG110123.erc"
    std::string data;     // "rg110123.dat"; empty when the converter would refuse the name
};

// file_name is the piece's name as the converter receives it
// (platform::argument_text); run holds the batch's switches.
OutputNames output_names(const std::string& file_name, const tabulon::Run& run);

// The other pieces of the same folder that would write a piece's data file,
// and those that would write its listing (indexes into the pieces).
struct Clash {
    std::vector<std::size_t> same_data;
    std::vector<std::size_t> same_listing;

    bool any() const { return !same_data.empty() || !same_listing.empty(); }
};

// One Clash per piece; names[i] are the output names of pieces[i]. Names are
// compared without regard to case: where the file system ignores case
// (Windows, a memory stick, a shared network folder) they are one file.
std::vector<Clash> find_clashes(const std::vector<std::filesystem::path>& pieces,
                                const std::vector<OutputNames>& names);

// "it would write the same data file (rg110123.dat) as RG11123.CSV";
// others[i] is the file name of pieces[i] as shown.
std::string clash_text(const Clash& clash, const OutputNames& own, const std::vector<std::string>& others);

}  // namespace tabbatch
