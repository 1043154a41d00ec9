#include "clashes.h"

#include <map>
#include <utility>

#include "census.h"
#include "paths.h"
#include "text.h"

namespace tabbatch {

namespace fs = std::filesystem;

namespace {

// Each group of pieces whose output name (by name_of) is one file: the folder
// and the name, its case folded.
template <typename NameOf>
std::map<std::pair<fs::path, std::string>, std::vector<std::size_t>> groups(const std::vector<fs::path>& pieces,
                                                                            NameOf name_of)
{
    std::map<std::pair<fs::path, std::string>, std::vector<std::size_t>> found;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        std::string name = name_of(i);
        if (name.empty())
            continue;
        text::capitals(name, text::CaseMap::ascii);
        found[{pieces[i].parent_path(), std::move(name)}].push_back(i);
    }
    return found;
}

// Gives each piece of a group of more than one the others of its group.
template <typename Groups>
void note_others(const Groups& found, std::vector<Clash>& clashes, std::vector<std::size_t> Clash::*list)
{
    for (const auto& [key, members] : found) {
        if (members.size() < 2)
            continue;
        for (std::size_t piece : members)
            for (std::size_t other : members)
                if (other != piece)
                    (clashes[piece].*list).push_back(other);
    }
}

// "A", "A and B", "A, B and C".
std::string listed(const std::vector<std::size_t>& which, const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < which.size(); ++i) {
        if (i > 0)
            text += i + 1 == which.size() ? " and " : ", ";
        text += names[which[i]];
    }
    return text;
}

}  // namespace

OutputNames output_names(const std::string& file_name, const tabulon::Run& run)
{
    const paths::PathParts parts = paths::splitpath(file_name);
    OutputNames names;
    names.listing = paths::makepath("", parts.base, "erc");
    const tabulon::CensusName census = tabulon::read_census_name(parts.base);
    if (census.fault == tabulon::CensusName::Fault::none)
        names.data = paths::makepath("", census.normalised, tabulon::output_extension(run));
    return names;
}

std::vector<Clash> find_clashes(const std::vector<fs::path>& pieces, const std::vector<OutputNames>& names)
{
    std::vector<Clash> clashes(pieces.size());
    note_others(groups(pieces, [&](std::size_t i) { return names[i].data; }), clashes, &Clash::same_data);
    note_others(groups(pieces, [&](std::size_t i) { return names[i].listing; }), clashes, &Clash::same_listing);
    return clashes;
}

std::string clash_text(const Clash& clash, const OutputNames& own, const std::vector<std::string>& others)
{
    const std::string data = "the same data file (" + own.data + ")";
    if (clash.same_data == clash.same_listing)
        return "it would write " + data + " and listing as " + listed(clash.same_data, others);
    std::string text = "it would write ";
    if (!clash.same_data.empty())
        text += data + " as " + listed(clash.same_data, others);
    if (!clash.same_data.empty() && !clash.same_listing.empty())
        text += ", and ";
    if (!clash.same_listing.empty())
        text += "the same listing as " + listed(clash.same_listing, others);
    return text;
}

}  // namespace tabbatch
