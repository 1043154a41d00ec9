#include "clashes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabbatch {
namespace {

namespace fs = std::filesystem;

tabulon::Run switches(const std::string& letters = "")
{
    tabulon::Run run;
    tabulon::set_default_switches(run);
    for (char letter : letters)
        tabulon::apply_switch(letter, run);
    return run;
}

TEST(OutputNames, AreTheConvertersOwn)
{
    EXPECT_EQ(output_names("RG11123.CSV", switches()).listing, "RG11123.erc");
    EXPECT_EQ(output_names("RG11123.CSV", switches()).data, "rg110123.dat");
    EXPECT_EQ(output_names("HO1071234.csv", switches("d")).data, "ho1071234.vld");
    // Refused names still get a listing, but no data file.
    EXPECT_EQ(output_names("totals.csv", switches()).listing, "totals.erc");
    EXPECT_EQ(output_names("totals.csv", switches()).data, "");
    EXPECT_EQ(output_names("RG11_0123.CSV", switches()).data, "");
}

// Each case: file names (a '/' puts the piece in another folder), and for
// each piece the pieces it clashes with, as "data:1,2 listing:2".
struct ClashCase {
    const char* why;
    std::vector<std::string> files;
    std::vector<std::string> expected;
};

std::string described(const Clash& clash)
{
    std::string text;
    const auto list = [&](const char* label, const std::vector<std::size_t>& which) {
        if (which.empty())
            return;
        text += text.empty() ? label : std::string(" ") + label;
        for (std::size_t i = 0; i < which.size(); ++i)
            text += (i ? "," : "") + std::to_string(which[i]);
    };
    list("data:", clash.same_data);
    list("listing:", clash.same_listing);
    return text;
}

TEST(FindClashes, GroupsThePiecesOfOneFolderByEachOutputFile)
{
    const ClashCase cases[] = {
        {"normalised to one data file", {"RG110123.CSV", "RG11123.CSV"}, {"data:1", "data:0"}},
        {"differing in case only", {"RG110123.CSV", "rg110123.csv"}, {"data:1 listing:1", "data:0 listing:0"}},
        {"refused names share a listing", {"totals.CSV", "totals.csv"}, {"listing:1", "listing:0"}},
        {"refused names are no data file", {"notes.csv", "totals.csv"}, {"", ""}},
        {"one folder each", {"a/RG110123.CSV", "b/RG11123.CSV"}, {"", ""}},
        {"three at once",
         {"RG110123.CSV", "RG11123.CSV", "rg11123.csv", "RG110124.CSV"},
         {"data:1,2", "data:0,2 listing:2", "data:0,1 listing:1", ""}},
    };
    for (const ClashCase& c : cases) {
        std::vector<fs::path> pieces;
        std::vector<OutputNames> names;
        for (const std::string& file : c.files) {
            pieces.push_back(fs::path("/tree") / file);
            names.push_back(output_names(pieces.back().filename().string(), switches()));
        }
        const std::vector<Clash> clashes = find_clashes(pieces, names);
        ASSERT_EQ(clashes.size(), c.expected.size()) << c.why;
        for (std::size_t i = 0; i < clashes.size(); ++i)
            EXPECT_EQ(described(clashes[i]), c.expected[i]) << c.why << ", piece " << i;
    }
}

TEST(ClashText, NamesTheOtherPiecesAndWhatTheyShare)
{
    const std::vector<std::string> files{"RG110123.CSV", "RG11123.CSV", "rg11123.csv"};
    const OutputNames own{"RG11123.erc", "rg110123.dat"};
    EXPECT_EQ(clash_text(Clash{{0}, {}}, own, files), "it would write the same data file (rg110123.dat) as RG110123.CSV");
    EXPECT_EQ(clash_text(Clash{{2}, {2}}, own, files),
              "it would write the same data file (rg110123.dat) and listing as rg11123.csv");
    EXPECT_EQ(clash_text(Clash{{}, {2}}, OutputNames{"totals.erc", ""}, files),
              "it would write the same listing as rg11123.csv");
    EXPECT_EQ(clash_text(Clash{{0, 2}, {2}}, own, files),
              "it would write the same data file (rg110123.dat) as RG110123.CSV and rg11123.csv, and the same "
              "listing as rg11123.csv");
    EXPECT_EQ(clash_text(Clash{{0, 1, 2}, {}}, own, files),
              "it would write the same data file (rg110123.dat) as RG110123.CSV, RG11123.CSV and rg11123.csv");
}

}  // namespace
}  // namespace tabbatch
