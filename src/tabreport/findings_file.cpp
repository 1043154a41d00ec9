#include "findings_file.h"

#include <fstream>
#include <iterator>
#include <map>

#include "census.h"
#include "file.h"
#include "linereader.h"
#include "options.h"
#include "paths.h"
#include "platform.h"

namespace tabreport {

namespace {

// Would a spreadsheet that opens the findings file take the text for a formula?
bool reads_as_formula(std::string_view text)
{
    if (text.empty())
        return false;
    switch (text[0]) {
    case '=':
    case '+':
    case '@':
    case '\t':
    case '\r':
        return true;
    case '-':
        return text.size() > 1;
    default:
        return false;
    }
}

const char* class_name(msg::Severity s)
{
    return s == msg::Severity::error ? "Error" : s == msg::Severity::warning ? "Warning" : "Info";
}

std::string line(std::string_view piece_name, const std::string& row, const char* class_text, std::string_view title,
                 std::string_view value, std::string_view message)
{
    return tsv_field(piece_name) + "\t" + row + "\t" + class_text + "\t" + tsv_field(title) + "\t" +
           tsv_field(value) + "\t" + tsv_field(message) + "\n";
}

bool read_bytes(const std::filesystem::path& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.good() || in.eof();
}

}  // namespace

std::string tsv_field(std::string_view text)
{
    std::string out = reads_as_formula(text) ? "'" : "";
    out += text;
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r' || c == '\0')
            c = ' ';
    return out;
}

std::string tsv_findings(std::string_view piece_name, const Sheet& sheet, const ListingSummary& listing,
                         const Placement& placement)
{
    std::string out;
    auto finding = [&](const ListingFinding& f, std::string_view title, std::string_view value) {
        out += line(piece_name, f.row > 0 ? std::to_string(f.row) : "", class_name(f.severity), title, value, f.line);
    };
    for (int f : placement.piece_findings)
        finding(listing.findings[f], "", "");
    std::map<int, const SheetRow*> rows;
    for (const SheetRow& row : sheet.rows)
        rows[row.n] = &row;
    for (const auto& [n, placed] : placement.by_row) {
        for (const Placed& p : placed) {
            const bool cell = p.column >= 0 && p.column < static_cast<int>(rows[n]->cells.size());
            finding(listing.findings[p.finding], p.column >= 0 ? std::string_view(sheet.titles[p.column]) : "",
                    cell ? std::string_view(rows[n]->cells[p.column].text) : "");
        }
    }
    for (int f : placement.missing_rows)
        finding(listing.findings[f], "", "");
    return out;
}

std::string tsv_fatal(std::string_view piece_name, std::string_view fatal)
{
    return line(piece_name, "", "Fatal", "", "", fatal);
}

bool piece_findings(const std::filesystem::path& piece, const std::filesystem::path& listing_path,
                    std::string_view piece_name, std::string& lines)
{
    std::string listing_text;
    if (!read_bytes(listing_path, listing_text))
        return false;
    const ListingSummary listing = read_listing(listing_text);
    tabulon::Run run;
    tabulon::set_default_switches(run);
    std::string letters;
    if (!tabulon::layout_named(listing.input_format, listing.output_format, letters))
        return false;
    tabulon::apply_layout(letters, run);
    // The census, as the converter took it from the file name, decides the
    // columns of an 1841 English piece.
    const tabulon::CensusName census =
        tabulon::read_census_name(paths::splitpath(platform::argument_text(piece.filename())).base);
    run.year = census.year;
    run.sct = census.sct;
    const File in(platform::open_for_reading(piece));
    if (!in)
        return false;
    LineReader reader(in.get());
    const Sheet sheet = read_sheet(reader, run);
    if (sheet.read_failed)
        return false;
    lines = tsv_findings(piece_name, sheet, listing, place_findings(sheet, listing));
    return true;
}

}  // namespace tabreport
