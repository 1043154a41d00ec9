// The report writer on an arbitrary piece and an arbitrary listing.
//
// Input: byte 0 picks the layout, record length and census; bytes 1 and 2 give
// the length of the piece (big-endian, cut to what is there); the piece
// follows and the rest is the listing. Properties:
//   - the page is well-formed: UTF-8 without stray control bytes, every '<'
//     one of its own tags, every '&' one of its escapes, elements nested, and
//     no script or style but its own, whatever the cells and the listing hold;
//   - every finding is placed once: on a row of the piece (on one of the row's
//     columns or the whole row), on the piece, or among the missing rows;
//   - the findings file has one line of five fields for every finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "findings.h"
#include "findings_file.h"
#include "fuzz_support.h"
#include "html_check.h"
#include "linereader.h"
#include "listing_reader.h"
#include "page.h"
#include "sheet.h"

namespace {

tabulon::Run run_for(std::uint8_t selector)
{
    tabulon::Run run;
    run.brief = (selector & 1) == 0;
    run.rlen = (selector >> 1) % 3 == 0 ? 256 : (selector >> 1) % 3 == 1 ? 276 : 299;
    switch ((selector >> 3) % 3) {
    case 0: run.year = 1881; break;
    case 1: run.year = 1841; break;
    default: run.year = 1841; run.sct = true; break;
    }
    return run;
}

void check_placement(const tabreport::Sheet& sheet, const ListingSummary& listing,
                     const tabreport::Placement& placement)
{
    std::size_t placed = placement.piece_findings.size() + placement.missing_rows.size();
    for (const auto& [row, findings] : placement.by_row) {
        for (const tabreport::Placed& p : findings) {
            FUZZ_CHECK(p.column == tabreport::whole_row ||
                           (p.column >= 0 && p.column < static_cast<int>(sheet.columns.size())),
                       std::to_string(p.column));
            FUZZ_CHECK(listing.findings[p.finding].row == row, listing.findings[p.finding].line);
        }
        placed += findings.size();
    }
    FUZZ_CHECK(placed == listing.findings.size(), std::to_string(placed));
    FUZZ_CHECK(placement.kind_of.size() == listing.findings.size(), "kinds");
}

void check_tsv(const std::string& tsv, const ListingSummary& listing)
{
    std::size_t lines = 0, tabs = 0;
    for (char c : tsv) {
        if (c == '\t')
            ++tabs;
        if (c == '\n') {
            FUZZ_CHECK(tabs == 5, fuzz::escaped(tsv));
            tabs = 0;
            ++lines;
        }
    }
    FUZZ_CHECK(lines == listing.findings.size(), fuzz::escaped(tsv));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const tabulon::Run run = run_for(data[0]);
    const std::size_t piece_size = std::min<std::size_t>((data[1] << 8) | data[2], size - 3);
    const std::string_view piece(reinterpret_cast<const char*>(data) + 3, piece_size);
    const std::string_view listing_text(reinterpret_cast<const char*>(data) + 3 + piece_size, size - 3 - piece_size);

    std::FILE* in = fuzz::open_bytes(piece);
    FUZZ_CHECK(in != nullptr, "open_bytes");
    tabreport::Sheet sheet;
    {
        LineReader reader(in);
        sheet = tabreport::read_sheet(reader, run);
    }
    std::fclose(in);
    const ListingSummary listing = read_listing(listing_text);
    const tabreport::Placement placement = tabreport::place_findings(sheet, listing);
    check_placement(sheet, listing, placement);

    const tabreport::Report report{"RG110123.CSV", "RG110123.erc", run, sheet, listing, placement, data[0] >= 128};
    const std::string page = tabreport::html_page(report);
    const std::string problem = tabreport::check::well_formed(page);
    FUZZ_CHECK(problem.empty(), problem);
    check_tsv(tabreport::tsv_findings(report.piece_name, sheet, listing, placement), listing);
    return 0;
}
