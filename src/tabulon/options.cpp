#include "options.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "columns.h"
#include "console_io.h"
#include "conventions.h"
#include "extract.h"
#include "linereader.h"
#include "listing.h"
#include "messages.h"
#include "platform.h"
#include "rowreader.h"

namespace tabulon {

void usage()
{
    console("Usage (v%s): tabulon [-a] [-c|-d] [-q|-v] [-h|-?] [-r] <filename.CSV>\n", version);
    console("\ta=ALL, c=CHECKED, d=VALIDATED, q=QUIET, v=VERBOSE, h|?=HELP\n");
}

int options(int argc, char** argv, Run& run)
{
    set_default_switches(run);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!platform::is_switch(arg))
            return i;
        switch (apply_switch(switch_letter::of(arg), run)) {
        case SwitchEffect::applied:
            break;
        case SwitchEffect::help:
            usage();
            return 0;
        case SwitchEffect::unknown:
            console("Unknown option %s\n", arg);
            break;
        }
    }
    return 0;
}

bool titles_match(int count, const Run& run)
{
    switch (run.rlen) {
    case 276: return count == 26;
    case 299: return count == 28 || count == 29;
    default: return count == 25;
    }
}

namespace {

// Most titles row 2 is counted to, and the width each is read at.
constexpr int most_titles = 30;
constexpr std::size_t title_width = 50;

// The layouts, those with header rows first: the order in which they are tried.
constexpr LayoutLetters header_layouts[] = {"", "c", "d"};
constexpr LayoutLetters all_layouts[] = {"a", "ac", "ad"};

Run run_of(LayoutLetters letters)
{
    Run run;
    set_default_switches(run);
    apply_layout(letters, run);
    return run;
}

void cut_at_line_feed(std::string& row)
{
    const auto lf = row.find('\n');
    if (lf != std::string::npos)
        row.resize(lf);
}

// Row 2's titles: cells read at the title width up to the first empty one.
int count_titles(const std::string& row)
{
    Listing silent;
    ExtractFlags flags;
    std::size_t pos = 0;
    int count = 0;
    while (count < most_titles && !extract(row, pos, title_width, ExtractContext{2, true}, flags, silent).empty())
        ++count;
    return count;
}

int count_cells(const std::string& row)
{
    QuoteScan cells;
    cells.scan(row);
    return static_cast<int>(cells.cells());
}

int all_layout_cells(LayoutLetters letters)
{
    return static_cast<int>(rowchecks::columns(run_of(letters)).size());
}

// "no switch" or "-a -c".
std::string shown(LayoutLetters letters)
{
    std::string text;
    for (const std::string& argument : layout_arguments(letters))
        text += (text.empty() ? "" : " ") + argument;
    return text.empty() ? "no switch" : text;
}

// "25", "28 or 29": the counts of titles the layout takes.
std::string titles_taken(LayoutLetters letters)
{
    const Run run = run_of(letters);
    std::string text;
    for (int count = 0; count <= most_titles; ++count)
        if (titles_match(count, run))
            text += (text.empty() ? "" : " or ") + std::to_string(count);
    return text;
}

std::string counted(int count, const char* what, int row)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s") + " in row " + std::to_string(row);
}

std::string what_was_counted(const LayoutFit& fit)
{
    const bool header_layout = fit.letters.empty() || fit.letters[0] != switch_letter::all;
    return header_layout ? counted(fit.titles, "title", 2) : counted(fit.row1_cells, "cell", 1);
}

}  // namespace

bool is_layout_letter(char letter)
{
    switch (switch_letter::folded(letter)) {
    case switch_letter::all:
    case switch_letter::brief:
    case switch_letter::checked:
    case switch_letter::validated:
        return true;
    default:
        return false;
    }
}

std::vector<std::string> layout_arguments(LayoutLetters letters)
{
    std::vector<std::string> arguments;
    for (char letter : letters)
        arguments.push_back(std::string("-") + letter);
    return arguments;
}

void apply_layout(LayoutLetters letters, Run& run)
{
    Run defaults;
    set_default_switches(defaults);
    run.brief = defaults.brief;
    run.rlen = defaults.rlen;
    for (char letter : letters)
        apply_switch(letter, run);
}

bool layout_named(std::string_view input_format, std::string_view output_format, std::string& letters)
{
    const auto named = [&](LayoutLetters candidate) {
        const Run run = run_of(candidate);
        if (input_format != input_format_name(run) || output_format != output_format_name(run))
            return false;
        letters = candidate;
        return true;
    };
    return std::any_of(std::begin(header_layouts), std::end(header_layouts), named) ||
           std::any_of(std::begin(all_layouts), std::end(all_layouts), named);
}

LayoutFit find_layout(std::FILE* piece)
{
    LayoutFit fit;
    LineReader lines(piece);
    RowReader rows(lines, RowReader::Layout::ss_cens);
    std::string row;
    if (!rows.next(row) || rows.failed())
        return fit;
    fit.read = true;
    cut_at_line_feed(row);
    fit.row1_cells = count_cells(row);
    if (!rows.eof() && rows.next(row) && !rows.failed()) {
        cut_at_line_feed(row);
        fit.titles = count_titles(row);
    }
    for (LayoutLetters letters : header_layouts) {
        if (titles_match(fit.titles, run_of(letters))) {
            fit.fits = true;
            fit.letters = letters;
            return fit;
        }
    }
    for (LayoutLetters letters : all_layouts) {
        if (fit.row1_cells == all_layout_cells(letters)) {
            fit.fits = true;
            fit.letters = letters;
            return fit;
        }
    }
    return fit;
}

std::string layout_found(const LayoutFit& fit)
{
    return shown(fit.letters) + " (" + what_was_counted(fit) + ")";
}

std::string layout_advice(const LayoutFit& fit)
{
    if (!fit.read)
        return "the piece could not be read to find its layout";
    if (fit.fits)
        return "the layout that fits: " + layout_found(fit);
    std::string titles, cells;
    for (LayoutLetters letters : header_layouts)
        titles += (titles.empty() ? shown(letters) + " takes " : ", " + shown(letters) + " ") + titles_taken(letters);
    for (LayoutLetters letters : all_layouts)
        cells += (cells.empty() ? shown(letters) + " takes " : ", " + shown(letters) + " ") +
                 std::to_string(all_layout_cells(letters));
    return "no layout fits: " + counted(fit.titles, "title", 2) + " (" + titles + "), " +
           counted(fit.row1_cells, "cell", 1) + " (" + cells + ")";
}

bool is_titles_mismatch(std::string_view fatal_line)
{
    const std::string_view label = msg::catalogue[msg::titles_mismatch].label;
    return fatal_line.starts_with("Fatal: ") && fatal_line.find(label) != std::string_view::npos;
}

}  // namespace tabulon
