#include "batch.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>

#include "spawn.h"

namespace tabbatch {

namespace fs = std::filesystem;

namespace {

// Works on the system's own characters: a name need not be representable in
// the narrow character set.
bool is_csv(const fs::path& file)
{
    const fs::path::string_type ext = file.extension().native();
    const char wanted[] = ".csv";
    if (ext.size() != 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto c = ext[i];
        const auto lower = c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
        if (lower != static_cast<fs::path::value_type>(wanted[i]))
            return false;
    }
    return true;
}

// A path as text for the console, whatever characters it holds.
std::string printable(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool starts_with(const std::string& line, const char* prefix)
{
    return line.rfind(prefix, 0) == 0;
}

std::string plural(long long count, const char* word)
{
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// Shows on the console, in place, how far the batch has got.
class Progress {
public:
    Progress(std::FILE* stream, std::size_t pieces) : stream_(stream), pieces_(pieces) {}

    void show(std::size_t done, std::size_t running)
    {
        const std::string text = std::to_string(done) + " of " + std::to_string(pieces_) + " pieces done, " +
                                 std::to_string(running) + " converting";
        std::fprintf(stream_, "\r%s", text.c_str());
        std::fflush(stream_);
        shown_ = std::max(shown_, text.size());
    }

    // Blanks the progress line so that a result line can stand in its place.
    void clear()
    {
        if (shown_ == 0)
            return;
        std::fprintf(stream_, "\r%s\r", std::string(shown_, ' ').c_str());
        std::fflush(stream_);
        shown_ = 0;
    }

private:
    std::FILE* stream_;
    std::size_t pieces_;
    std::size_t shown_ = 0;
};

// The piece's name as the summary shows it: its path below the root.
std::string display_name(const fs::path& piece, const fs::path& root)
{
    std::error_code error;
    fs::path relative = fs::relative(piece, root, error);
    if (error || relative.empty())
        relative = piece.filename();
    return printable(relative.make_preferred());
}

// What the converter left of a piece. A listing older than the converter's
// start is an earlier run's (this one stopped before it could write its own)
// and says nothing about this run.
Outcome finished(const spawn::Ended& ended, const fs::path& piece, fs::file_time_type started)
{
    Outcome outcome;
    outcome.started = true;
    outcome.exited = ended.exited;
    outcome.status = ended.status;
    const fs::path listing = listing_of(piece);
    std::error_code error;
    const fs::file_time_type written = fs::last_write_time(listing, error);
    if (!error && written >= started - std::chrono::seconds(2))  // file times may be coarse
        outcome.counts = read_listing(listing);
    return outcome;
}

// Runs the converters and hands each outcome, in path order, to report.
template <typename Report>
void convert_all(const Settings& settings, const fs::path& converter, const std::vector<fs::path>& pieces,
                 Progress& progress, Report report)
{
    std::vector<std::optional<Outcome>> outcomes(pieces.size());
    std::vector<fs::file_time_type> started(pieces.size());
    spawn::Children children;
    std::size_t next_start = 0, next_report = 0, done = 0;
    while (next_report < pieces.size()) {
        while (children.running() < settings.jobs && next_start < pieces.size()) {
            const fs::path& piece = pieces[next_start];
            std::vector<fs::path> args{converter};
            args.insert(args.end(), settings.switches.begin(), settings.switches.end());
            args.push_back(piece.filename());
            started[next_start] = fs::file_time_type::clock::now();
            if (!children.start(converter, args, piece.parent_path(), next_start)) {
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

}  // namespace

std::vector<fs::path> find_pieces(const fs::path& root)
{
    std::vector<fs::path> pieces;
    std::error_code error;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code kind_error;
        if (it->is_regular_file(kind_error) && is_csv(it->path()))
            pieces.push_back(it->path());
    }
    std::sort(pieces.begin(), pieces.end());
    return pieces;
}

fs::path listing_of(const fs::path& piece)
{
    fs::path::string_type name = piece.filename().native();
    name.resize(std::min(name.find(fs::path::value_type('.')), name.size()));
    return piece.parent_path() / (fs::path(name) += ".erc");
}

ListingCounts read_listing(const fs::path& listing)
{
    ListingCounts counts;
    std::ifstream in(listing, std::ios::binary);
    if (!in)
        return counts;
    counts.found = true;
    std::string line;
    while (std::getline(in, line)) {
        if (starts_with(line, "Error:"))
            ++counts.errors;
        else if (starts_with(line, "Warning:"))
            ++counts.warnings;
        else if (counts.fatal.empty() && starts_with(line, "Fatal:"))
            counts.fatal = line;
    }
    if (!counts.fatal.empty() && counts.fatal.back() == '\r')
        counts.fatal.pop_back();
    return counts;
}

std::string summary_line(const std::string& name, const Outcome& outcome)
{
    if (!outcome.started)
        return name + ": not converted, the converter could not be started";
    if (!outcome.exited)
        return name + ": not converted, the converter stopped abnormally";
    const std::string status = name + ": status " + std::to_string(outcome.status);
    if (outcome.converted())
        return status + ", " + plural(outcome.counts.errors, "error") + ", " +
               plural(outcome.counts.warnings, "warning");
    if (!outcome.counts.fatal.empty())
        return status + ", not converted: " + outcome.counts.fatal;
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
    if (outcome.status == 8)
        ++with_errors;
    else if (outcome.status == 4)
        ++warnings_only;
    else
        ++clean;
}

int Totals::exit_status() const
{
    if (not_converted > 0)
        return exit_status::not_converted;
    return with_errors > 0 ? exit_status::errors : exit_status::clean;
}

std::string total_line(const Totals& t)
{
    return "Total: " + plural(t.pieces, "piece") + ", " + std::to_string(t.clean) + " clean, " +
           std::to_string(t.warnings_only) + " with warnings only, " + std::to_string(t.with_errors) +
           " with errors, " + std::to_string(t.not_converted) + " not converted; " + plural(t.errors, "error") +
           ", " + plural(t.warnings, "warning");
}

int run(const Settings& settings, const fs::path& converter, std::FILE* out, std::FILE* progress_stream)
{
    const std::vector<fs::path> pieces = find_pieces(settings.root);
    if (pieces.empty()) {
        std::fprintf(out, "No .csv files found in %s\n", printable(settings.root).c_str());
        return exit_status::usage;
    }
    Progress progress(progress_stream, pieces.size());
    Totals totals;
    convert_all(settings, converter, pieces, progress, [&](std::size_t index, const Outcome& outcome) {
        std::fprintf(out, "%s\n", summary_line(display_name(pieces[index], settings.root), outcome).c_str());
        std::fflush(out);
        totals.add(outcome);
    });
    std::fprintf(out, "%s\n", total_line(totals).c_str());
    return totals.exit_status();
}

}  // namespace tabbatch
