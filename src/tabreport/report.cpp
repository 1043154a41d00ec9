#include "report.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "census.h"
#include "console_io.h"
#include "conventions.h"
#include "file.h"
#include "findings.h"
#include "findings_file.h"
#include "linereader.h"
#include "listing.h"
#include "listing_reader.h"
#include "newfile.h"
#include "options.h"
#include "page.h"
#include "paths.h"
#include "platform.h"
#include "run.h"
#include "sheet.h"
#include "text.h"

namespace tabreport {

namespace {

void usage()
{
    console("Usage (v%s): tabreport [-a] [-c|-d] [-t] [-h|-?] <filename.CSV>\n", tabulon::version);
    console("\ta=ALL, c=CHECKED, d=VALIDATED, t=TSV, h|?=HELP\n");
    console("\tthe layout is the one tabulon's listing names (a, c and d, when given, must be tabulon's);\n"
            "\twrites <filename>.html (and with -t <filename>.tsv)\n");
}

struct Options {
    tabulon::Run run;
    bool layout_given = false;  // -a, -b, -c or -d: the listing must have been written with them
    bool tsv = false;
};

constexpr char tsv_letter = 't';  // the findings file too

// The converter's switches (so that its command line can be reused as it is)
// and -t. Returns the index of the file name, or 0.
int options(int argc, char** argv, Options& o)
{
    tabulon::set_default_switches(o.run);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!platform::is_switch(arg))
            return i;
        const char letter = switch_letter::of(arg);
        if (switch_letter::folded(letter) == tsv_letter) {
            o.tsv = true;
            continue;
        }
        switch (tabulon::apply_switch(letter, o.run)) {
        case tabulon::SwitchEffect::applied:
            o.layout_given = o.layout_given || tabulon::is_layout_letter(letter);
            break;
        case tabulon::SwitchEffect::help:
            usage();
            return 0;
        case tabulon::SwitchEffect::unknown:
            console("Unknown option %s\n", arg);
            break;
        }
    }
    return 0;
}

struct Paths {
    std::string piece;
    std::string piece_name;  // file name without its directory
    std::string listing;
    std::string html;
    std::string tsv;
};

bool read_whole(const std::string& path, std::string& bytes)
{
    File f(std::fopen(path.c_str(), "rb"));
    if (!f || platform::is_directory(f.get()))
        return false;
    char chunk[64 * 1024];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0)
        bytes.append(chunk, got);
    return !std::ferror(f.get());
}

// Writes bytes whole into file, a new file that is to become path. False,
// with errno telling why, when the file could not be made or any of the bytes
// did not reach it.
bool write_new(NewFile& file, const std::string& path, const std::string& bytes, NewFile::Mode mode)
{
    if (!file.open(path, mode))
        return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return false;
    return file.close();
}

std::string file_name_of(const std::string& path)
{
    const auto at = path.find_last_of("/\\");
    return at == std::string::npos ? path : path.substr(at + 1);
}

bool same_name(std::string a, std::string b)
{
    text::capitals(a, text::CaseMap::eight_bit);
    text::capitals(b, text::CaseMap::eight_bit);
    return a == b;
}

// The piece was saved after its listing was written.
bool edited_after(const std::string& piece, const std::string& listing)
{
    std::error_code e1, e2;
    const auto piece_time = std::filesystem::last_write_time(piece, e1);
    const auto listing_time = std::filesystem::last_write_time(listing, e2);
    return !e1 && !e2 && piece_time > listing_time;
}

// The piece, opened for reading; the status of a failure, told.
int open_piece(const Paths& paths, File& in)
{
    in.reset(std::fopen(paths.piece.c_str(), "rb"));
    if (in && platform::is_directory(in.get())) {
        in.reset();
        errno = EISDIR;
    }
    if (!in) {
        console_io::write_with_reason(msg::text(msg::input_open_failed, paths.piece), errno);
        return exit_status::fatal;
    }
    return exit_status::tabreport::written;
}

// The listing fits this piece and these switches; false after saying why not.
bool listing_fits(const ListingSummary& listing, const Paths& paths, const tabulon::Run& run)
{
    if (listing.has_header && !same_name(file_name_of(listing.converting), paths.piece_name)) {
        console("Fatal: Listing file (%s) belongs to another piece (%s)\n", paths.listing, listing.converting);
        return false;
    }
    const bool formats_differ = listing.input_format != tabulon::input_format_name(run) ||
                                listing.output_format != tabulon::output_format_name(run);
    if (listing.has_description && formats_differ) {
        console("Fatal: Listing file (%s) was written for input format %s, output format %s: give tabreport "
                "the switches that tabulon was given, or none\n",
                paths.listing, listing.input_format, listing.output_format);
        return false;
    }
    return true;
}

// The layout the listing's run description names, for a run given no layout
// switch. A listing without one (it ends in a Fatal) leaves the default,
// which nothing reads.
void take_layout_of(const ListingSummary& listing, tabulon::Run& run)
{
    std::string letters;
    if (listing.has_description && tabulon::layout_named(listing.input_format, listing.output_format, letters))
        tabulon::apply_layout(letters, run);
}

// Why the conversion stopped, told on the console; when row 2's titles did
// not fit the switches, with the layout that would.
void tell_fatal(const ListingSummary& listing, const Paths& paths)
{
    console("The conversion stopped with a Fatal; the report shows it\n");
    if (!tabulon::is_titles_mismatch(listing.fatal.front()))
        return;
    File in(std::fopen(paths.piece.c_str(), "rb"));
    if (in && platform::is_directory(in.get()))
        in.reset();
    const tabulon::LayoutFit fit = in ? tabulon::find_layout(in.get()) : tabulon::LayoutFit{};
    std::string advice = tabulon::layout_advice(fit);
    advice[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(advice[0])));
    console("%s\n", advice);
}

// The files of a report. Each is written whole under an unfinished name;
// they take their final names together, only when all of them are complete,
// so a failure (a full disk, say) leaves the earlier page and findings file as
// they were.
struct ReportFiles {
    NewFile page;
    NewFile findings;
};

int page_failed(const Paths& paths, int error)
{
    console_failure(error, "Fatal: Report file (%s) failed to write\n", paths.html);
    return exit_status::fatal;
}

int findings_failed(const Paths& paths, int error)
{
    console_failure(error, "Fatal: Findings file (%s) failed to write\n", paths.tsv);
    return exit_status::fatal;
}

// A row with findings as the findings file needs it: the texts of the cells
// its findings are on, the others left empty.
SheetRow cells_at_fault(SheetRow row, const std::vector<Placed>& placed)
{
    std::vector<bool> wanted(row.cells.size());
    std::size_t used = 0;
    for (const Placed& p : placed) {
        if (p.column >= 0 && static_cast<std::size_t>(p.column) < row.cells.size()) {
            wanted[p.column] = true;
            used = std::max(used, static_cast<std::size_t>(p.column) + 1);
        }
    }
    row.cells.resize(used);
    for (std::size_t i = 0; i < used; ++i)
        if (!wanted[i])
            row.cells[i] = Cell{};
    row.cells.shrink_to_fit();
    return row;
}

// The page, written as the piece is read a row at a time: only the rows with
// findings are kept (in the report's sheet, for the findings file), and of
// them only the cells at fault. False when a row could not be read (the page
// is then left unfinished).
bool stream_page(const Report& report, Sheet& sheet, Placement& placement, LineReader* lines, PageOut& out)
{
    PageWriter page(report, out);
    page.begin();
    if (lines) {
        SheetReader reader(*lines, report.run);
        sheet.columns = reader.columns();
        SheetRow row;
        while (reader.next(row)) {
            page.row(row);
            if (const auto found = placement.by_row.find(row.n); found != placement.by_row.end()) {
                place_row(sheet.columns, row, report.listing, placement);
                sheet.rows.push_back(cells_at_fault(std::move(row), found->second));
            }
        }
        if (reader.failed())
            return false;
        sheet.titles = reader.titles();
    }
    close_placement(placement);
    page.end();
    return true;
}

int write_report(const Paths& paths, const tabulon::Run& run, const ListingSummary& listing, bool stale, bool tsv)
{
    File piece;
    if (listing.fatal.empty()) {
        if (const int status = open_piece(paths, piece); status != exit_status::tabreport::written)
            return status;
    }
    Sheet sheet;
    Placement placement = place_listing(listing);
    Report report{paths.piece_name, file_name_of(paths.listing), run, sheet, listing, placement, stale};
    ReportFiles files;
    if (!files.page.open(paths.html, NewFile::Mode::binary))
        return page_failed(paths, errno);
    PageOut out(files.page.get());
    std::optional<LineReader> lines;
    if (piece)
        lines.emplace(piece.get());
    if (!stream_page(report, sheet, placement, lines ? &*lines : nullptr, out)) {
        console_io::write_with_reason(msg::text(msg::input_read_failed, paths.piece), errno);
        return exit_status::fatal;
    }
    if (!out.flush() || !files.page.close())
        return page_failed(paths, errno);
    // A conversion that stopped has no findings to list.
    const bool with_findings = tsv && listing.fatal.empty();
    if (with_findings &&
        !write_new(files.findings, paths.tsv,
                   std::string(tsv_header) + tsv_findings(report.piece_name, sheet, listing, placement),
                   NewFile::Mode::text))
        return findings_failed(paths, errno);
    // The page last: a new page always stands beside its own findings file.
    const NewFile* not_moved =
        with_findings ? NewFile::install({&files.findings, &files.page}) : NewFile::install({&files.page});
    if (not_moved == &files.page)
        return page_failed(paths, errno);
    if (not_moved)
        return findings_failed(paths, errno);
    console("\nReport file is %s\n", paths.html);
    if (with_findings)
        console("Findings file is %s\n", paths.tsv);
    return exit_status::tabreport::written;
}

}  // namespace

int report(int argc, char** argv)
{
    if (argc <= 1) {
        usage();
        return exit_status::no_arguments;
    }
    Options o;
    const int file_index = options(argc, argv, o);
    if (file_index == 0)
        return exit_status::no_file_name;

    Paths paths;
    paths.piece = argv[file_index];
    const paths::PathParts input = paths::splitpath(paths.piece);
    if (!tabulon::is_piece_extension(input.ext)) {
        console("%s", msg::text(msg::not_csv));
        return exit_status::fatal;
    }
    paths.piece_name = input.base + "." + input.ext;
    std::string census_name = input.base;
    Listing console_only;
    if (tabulon::decode_census(census_name, o.run, console_only) != 0)
        return exit_status::fatal;
    paths.listing = paths::makepath(input.dir, input.base, "erc");
    paths.html = paths::makepath(input.dir, input.base, "html");
    paths.tsv = paths::makepath(input.dir, input.base, "tsv");

    std::string listing_text;
    if (!read_whole(paths.listing, listing_text)) {
        console("Fatal: Listing file (%s) not found: convert the piece with tabulon first\n", paths.listing);
        return exit_status::fatal;
    }
    const ListingSummary listing = read_listing(listing_text);
    if (!listing.finished) {
        console("Fatal: Listing file (%s) is incomplete, the conversion did not finish: convert the piece "
                "again with tabulon\n",
                paths.listing);
        return exit_status::fatal;
    }
    if (!o.layout_given)
        take_layout_of(listing, o.run);
    if (!listing_fits(listing, paths, o.run))
        return exit_status::fatal;
    const bool stale = edited_after(paths.piece, paths.listing);

    if (const int status = write_report(paths, o.run, listing, stale, o.tsv); status != exit_status::tabreport::written)
        return status;
    if (stale)
        console("Warning: the piece was changed after the listing was written: convert it again with tabulon\n");
    if (!listing.fatal.empty()) {
        tell_fatal(listing, paths);
        return exit_status::tabreport::conversion_stopped;
    }
    return stale ? exit_status::tabreport::stale : exit_status::tabreport::written;
}

}  // namespace tabreport
