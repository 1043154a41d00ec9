#include "batch.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <optional>

#include "clashes.h"
#include "console_io.h"
#include "display.h"
#include "file.h"
#include "findings_file.h"
#include "listing_reader.h"
#include "newfile.h"
#include "options.h"
#include "platform.h"
#include "scan.h"
#include "spawn.h"

namespace tabbatch {

namespace fs = std::filesystem;

namespace {

std::string plural(long long count, const char* word)
{
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// Every line of the summary goes out through here: one line, whatever the
// names in it hold.
void print_line(std::FILE* out, const std::string& text)
{
    print_to(out, "%s\n", one_line(text));
    std::fflush(out);
}

// Shows on the console, in place, how far the batch has got.
class Progress {
public:
    Progress(std::FILE* stream, std::size_t pieces) : stream_(stream), pieces_(pieces) {}

    void show(std::size_t done, std::size_t running)
    {
        const std::string text = std::to_string(done) + " of " + std::to_string(pieces_) + " pieces done, " +
                                 std::to_string(running) + " converting";
        print_to(stream_, "\r%s", text);
        std::fflush(stream_);
        shown_ = std::max(shown_, text.size());
    }

    // Blanks the progress line so that a result line can stand in its place.
    void clear()
    {
        if (shown_ == 0)
            return;
        print_to(stream_, "\r%s\r", std::string(shown_, ' '));
        std::fflush(stream_);
        shown_ = 0;
    }

private:
    std::FILE* stream_;
    std::size_t pieces_;
    std::size_t shown_ = 0;
};

// One piece of the batch, ready to convert.
struct Piece {
    fs::path path;
    fs::path argument;  // the converter's file argument
    std::string shown;  // its path below the root
    std::size_t name_line_breaks = 0;
    std::string clash;  // not to be converted, because it would write the files of other pieces
    bool layout_sought = false;  // no layout switch was given: fit tells what its opening rows fit
    tabulon::LayoutFit fit;
};

// The layout of the piece's opening rows.
tabulon::LayoutFit layout_of(const fs::path& piece)
{
    const File in(platform::open_for_reading(piece));
    if (!in || platform::is_directory(in.get()))
        return {};
    return tabulon::find_layout(in.get());
}

// The switches the piece is converted with: the batch's, and the layout found
// for it when none was given.
std::vector<std::string> switches_for(const Piece& piece, const Settings& settings)
{
    std::vector<std::string> switches = settings.switches;
    if (piece.layout_sought && piece.fit.fits)
        for (std::string& argument : tabulon::layout_arguments(piece.fit.letters))
            switches.push_back(std::move(argument));
    return switches;
}

// The run the piece is converted with, as the converter reads its switches.
tabulon::Run run_for(const Piece& piece, const Settings& settings)
{
    tabulon::Run run = settings.run;
    if (piece.layout_sought && piece.fit.fits)
        tabulon::apply_layout(piece.fit.letters, run);
    return run;
}

// The file name as the converter's argument, given in its own folder: after
// "./" (".\" on Windows) when the name would be read as a switch.
fs::path converter_argument(const fs::path& piece)
{
    const fs::path name = piece.filename();
    return platform::is_switch(platform::argument_text(name)) ? fs::path(".") / name : name;
}

std::vector<Piece> prepare(const std::vector<fs::path>& paths, const Settings& settings)
{
    std::vector<OutputNames> names;
    std::vector<std::string> file_names;
    std::vector<Piece> pieces;
    for (const fs::path& path : paths) {
        const std::string name = printable(path.filename());
        Piece piece{path, converter_argument(path), shown_path(path, settings.root),
                    static_cast<std::size_t>(std::count(name.begin(), name.end(), '\n')), "", false, {}};
        if (!settings.layout_given) {
            piece.layout_sought = true;
            piece.fit = layout_of(path);
        }
        names.push_back(output_names(platform::argument_text(path.filename()), run_for(piece, settings)));
        file_names.push_back(name);
        pieces.push_back(std::move(piece));
    }
    const std::vector<Clash> clashes = find_clashes(paths, names);
    for (std::size_t i = 0; i < pieces.size(); ++i)
        if (clashes[i].any())
            pieces[i].clash = clash_text(clashes[i], names[i], file_names);
    return pieces;
}

// Did this run write the listing? One older than the converter's start is an
// earlier run's (this one stopped before it could write its own), and a
// folder of that name is none.
bool written_by_this_run(const fs::path& listing, fs::file_time_type started)
{
    std::error_code error;
    if (!fs::is_regular_file(listing, error))
        return false;
    const fs::file_time_type written = fs::last_write_time(listing, error);
    return !error && written >= started - std::chrono::seconds(2);  // file times may be coarse
}

// What the converter left of a piece: its listing or, when it wrote none, the
// reason it gave on the console.
Outcome finished(const spawn::Ended& ended, const Piece& piece, fs::file_time_type started)
{
    Outcome outcome;
    outcome.started = true;
    outcome.exited = ended.exited;
    outcome.status = ended.status;
    const fs::path listing = listing_of(piece.path);
    if (written_by_this_run(listing, started))
        outcome.counts = read_listing(listing, piece.name_line_breaks);
    else
        outcome.console_fatal = console_fatal(ended.errors);
    if (piece.layout_sought && piece.fit.fits)
        outcome.layout = tabulon::layout_found(piece.fit);
    if (tabulon::is_titles_mismatch(outcome.counts.fatal))
        outcome.advice = tabulon::layout_advice(piece.layout_sought ? piece.fit : layout_of(piece.path));
    return outcome;
}

// Runs the converters and hands each outcome, in path order, to report.
template <typename Report>
void convert_all(const Settings& settings, const fs::path& converter, const std::vector<Piece>& pieces,
                 Progress& progress, Report report)
{
    std::vector<std::optional<Outcome>> outcomes(pieces.size());
    std::vector<fs::file_time_type> started(pieces.size());
    spawn::Children children;
    std::size_t next_start = 0, next_report = 0, done = 0;
    while (next_report < pieces.size()) {
        while (children.running() < settings.jobs && next_start < pieces.size()) {
            const Piece& piece = pieces[next_start];
            if (!piece.clash.empty()) {
                Outcome outcome;
                outcome.clash = piece.clash;
                outcomes[next_start++] = outcome;
                ++done;
                continue;
            }
            std::vector<fs::path> args{converter};
            for (const std::string& given : switches_for(piece, settings))
                args.push_back(given);
            args.push_back(piece.argument);
            started[next_start] = fs::file_time_type::clock::now();
            const fs::path folder = piece.path.has_parent_path() ? piece.path.parent_path() : fs::path(".");
            if (!children.start(converter, args, folder, next_start)) {
                outcomes[next_start] = Outcome{};
                ++done;
            }
            ++next_start;
        }
        while (next_report < pieces.size() && outcomes[next_report]) {
            progress.clear();
            report(next_report, *outcomes[next_report]);
            ++next_report;
        }
        if (children.running() > 0) {
            progress.show(done, children.running());
            const spawn::Ended ended = children.wait_any();
            outcomes[ended.tag] = finished(ended, pieces[ended.tag], started[ended.tag]);
            ++done;
        }
    }
    progress.clear();
}

// The findings of every piece, gathered in path order for one findings file.
class FindingsFile {
public:
    // piece's findings under its path below root (its file name when it is
    // the root), in the bytes the programs are given it in, as its cells are.
    void add(const fs::path& piece, const fs::path& root, const Outcome& outcome)
    {
        fs::path below = piece.lexically_relative(root);
        if (below.empty() || below == ".")
            below = piece.filename();
        const std::string name = platform::argument_text(below.make_preferred());
        std::string found;
        if (outcome.converted()) {
            // A piece whose findings cannot be gathered is not left out without a word.
            lines_ += tabreport::piece_findings(piece, listing_of(piece), name, found)
                          ? found
                          : tabreport::tsv_fatal(name, "Fatal: the piece or its listing could not be read back for "
                                                       "its findings: open its listing");
        } else if (!outcome.counts.fatal.empty())
            lines_ += tabreport::tsv_fatal(name, outcome.counts.fatal);
        else if (!outcome.console_fatal.empty())
            lines_ += tabreport::tsv_fatal(name, outcome.console_fatal);
    }

    // Writes the file whole, in text mode as every text file the programs
    // write; false, after saying why, when it could not be.
    bool write(const fs::path& path, std::FILE* out) const
    {
        const std::string shown = printable(path);
        NewFile file;
        const std::string text = std::string(tabreport::tsv_header) + lines_;
        const bool written = file.open(platform::argument_text(path), NewFile::Mode::text) &&
                             std::fwrite(text.data(), 1, text.size(), file.get()) == text.size() && file.close() &&
                             !NewFile::install({&file});
        if (!written) {
            console_failure(errno, "Fatal: Findings file (%s) failed to write\n", shown);
            return false;
        }
        print_line(out, "Findings file is " + shown);
        return true;
    }

private:
    std::string lines_;
};

std::string note_line(const ScanNote& note, const fs::path& root)
{
    const std::string name = shown_path(note.path, root);
    return note.kind == ScanNote::Kind::skipped ? "skipped: " + name + ": " + note.why
                                                : "could not read: " + name + ": " + note.why;
}

}  // namespace

fs::path listing_of(const fs::path& piece)
{
    fs::path::string_type name = piece.filename().native();
    name.resize(std::min(name.find(fs::path::value_type('.')), name.size()));
    return piece.parent_path() / (fs::path(name) += ".erc");
}

ListingCounts read_listing(const fs::path& listing, std::size_t name_line_breaks)
{
    ListingCounts counts;
    std::ifstream in(listing, std::ios::binary);
    if (!in)
        return counts;
    counts.found = true;
    ListingReader reader(false, name_line_breaks);
    std::string line;
    while (std::getline(in, line))
        reader.take(line);
    const ListingSummary summary = reader.finish(true);
    counts.errors = summary.errors;
    counts.warnings = summary.warnings;
    if (!summary.fatal.empty())
        counts.fatal = summary.fatal.front();
    return counts;
}

std::string summary_line(const std::string& name, const Outcome& outcome)
{
    if (!outcome.clash.empty())
        return name + ": not converted, " + outcome.clash;
    if (!outcome.started)
        return name + ": not converted, the converter could not be started";
    if (!outcome.exited)
        return name + ": not converted, the converter stopped abnormally";
    const std::string status = name + ": status " + std::to_string(outcome.status);
    if (outcome.converted())
        return status + ", " + plural(outcome.counts.errors, "error") + ", " +
               plural(outcome.counts.warnings, "warning") +
               (outcome.layout.empty() ? "" : "; layout found: " + outcome.layout);
    if (!outcome.counts.fatal.empty())
        return status + ", not converted: " + outcome.counts.fatal +
               (outcome.advice.empty() ? "" : "; " + outcome.advice);
    if (!outcome.console_fatal.empty())
        return status + ", not converted: " + outcome.console_fatal;
    if (!outcome.counts.found)
        return status + ", not converted, and no listing written";
    return status + ", not converted";
}

void Totals::add(const Outcome& outcome)
{
    ++pieces;
    if (!outcome.converted()) {
        ++not_converted;
        return;
    }
    errors += outcome.counts.errors;
    warnings += outcome.counts.warnings;
    if (outcome.status == exit_status::tabulon::errors)
        ++with_errors;
    else if (outcome.status == exit_status::tabulon::warnings)
        ++warnings_only;
    else
        ++clean;
}

int Totals::exit_status() const
{
    if (not_converted > 0)
        return exit_status::fatal;
    return with_errors > 0 ? exit_status::tabbatch::errors : exit_status::tabbatch::clean;
}

std::string total_line(const Totals& t)
{
    return msgfmt("Total: %s, %d clean, %d with warnings only, %d with errors, %d not converted; %s, %s",
                  plural(t.pieces, "piece"), t.clean, t.warnings_only, t.with_errors, t.not_converted,
                  plural(t.errors, "error"), plural(t.warnings, "warning"));
}

fs::path findings_file_of(const Settings& settings)
{
    std::error_code error;
    const fs::path folder = fs::is_directory(settings.root, error) ? settings.root : settings.root.parent_path();
    return folder / "tabbatch-findings.tsv";
}

int run(const Settings& settings, const fs::path& converter, std::FILE* out, std::FILE* progress_stream)
{
    std::error_code error;
    const Scan scan = fs::is_directory(settings.root, error) ? scan_tree(settings.root) : Scan{{settings.root}, {}};
    for (const ScanNote& note : scan.notes)
        print_line(out, note_line(note, settings.root));
    // A folder that could not be read may have held pieces.
    const int scan_status = scan.incomplete() ? exit_status::fatal : exit_status::tabbatch::clean;
    if (scan.pieces.empty()) {
        print_line(out, "No .csv files found in " + printable(settings.root));
        return std::max(scan_status, exit_status::no_file_name);
    }
    const std::vector<Piece> pieces = prepare(scan.pieces, settings);
    Progress progress(progress_stream, pieces.size());
    Totals totals;
    FindingsFile findings;
    convert_all(settings, converter, pieces, progress, [&](std::size_t index, const Outcome& outcome) {
        print_line(out, summary_line(pieces[index].shown, outcome));
        totals.add(outcome);
        if (settings.tsv)
            findings.add(pieces[index].path, settings.root, outcome);
    });
    print_line(out, total_line(totals));
    int status = std::max(scan_status, totals.exit_status());
    if (settings.tsv && !findings.write(findings_file_of(settings), out))
        status = exit_status::fatal;
    return status;
}

}  // namespace tabbatch
