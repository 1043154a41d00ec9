#include "converter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "census.h"
#include "codefiles.h"
#include "console_io.h"
#include "conventions.h"
#include "file.h"
#include "newfile.h"
#include "headers.h"
#include "linereader.h"
#include "listing.h"
#include "options.h"
#include "paths.h"
#include "platform.h"
#include "record.h"
#include "row.h"
#include "rowloop.h"
#include "rowreader.h"
#include "text.h"

namespace tabulon {

namespace {

// Longest program and input paths accepted.
constexpr std::size_t max_program_path = 126;
constexpr std::size_t max_input_path = 127;

// The "%d\r" progress counter, gathered and written in large pieces: the
// console receives the same bytes without a system call for every row.
class Progress {
public:
    Progress() { set_text(0); }
    ~Progress() { flush(); }
    void row(int n)
    {
        if (used_ + max_entry > sizeof pending_)
            flush();
        if (n != shown_ + 1 || n <= 0)
            set_text(n);
        else
            count_up();
        shown_ = n;
        // Sixteen bytes from the text's start are copied at once (pending_
        // has the room); only the digits and the CR count.
        std::memcpy(pending_ + used_, text_ + first_, max_entry);
        used_ += max_entry - first_;
    }
    void flush()
    {
        if (used_ > 0)
            console_io::write(stderr, {pending_, used_});
        used_ = 0;
    }

private:
    // The number's text, ending with its CR just before text_ + max_entry.
    void set_text(int n)
    {
        first_ = max_entry - 1;
        text_[first_] = '\r';
        unsigned value = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
        do {
            text_[--first_] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        if (n < 0)
            text_[--first_] = '-';
    }

    // The next number's text from this one's: the last digit goes up, and
    // a 9 carries.
    void count_up()
    {
        std::size_t at = max_entry - 2;
        while (at >= first_ && text_[at] == '9')
            text_[at--] = '0';
        if (at < first_)
            text_[first_ = at] = '1';
        else
            ++text_[at];
    }

private:
    static constexpr std::size_t max_entry = 16;  // a sign, ten digits and the CR fit
    char pending_[16 * 1024];
    std::size_t used_ = 0;
    char text_[2 * max_entry] = {};  // the text ends at max_entry; zeros follow
    std::size_t first_ = max_entry;  // where the text starts in text_
    int shown_ = 0;                  // the number it holds
};

// The records, gathered and written in large pieces.
class RecordOutput {
public:
    // Records are written a megabyte at a time: fewer, larger writes cost
    // the system less per record.
    static constexpr std::size_t buffer_size = 1024 * 1024;

    RecordOutput(std::FILE* out, int rlen) : out_(out), rlen_(static_cast<std::size_t>(rlen)), buffer_(buffer_size) {}

    // Room for the next record.
    char* next() { return buffer_.data() + used_; }

    // The record at next() is complete. False when writing failed.
    bool commit()
    {
        used_ += rlen_;
        return used_ + rlen_ <= buffer_.size() || flush();
    }

    // False when writing failed (errno tells why).
    bool flush()
    {
        const std::size_t written = std::fwrite(buffer_.data(), 1, used_, out_);
        const bool done = written == used_;
        used_ = 0;
        return done;
    }

private:
    std::FILE* out_;
    std::size_t rlen_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
};

// The paths of one run.
struct RunPaths {
    std::string program_dir;
    std::string input;   // as typed
    std::string listing;
    std::string output;
};

// A file that failed: the Fatal line to the listing and the console, then the
// system's description of the failure (error is the errno it left).
void file_failed(Listing& listing, int error, msg::message<std::string> fatal, const std::string& path)
{
    listing.report(fatal, path);
    errno = error;
    platform::report_system_error("Fatal");
}

// Where the code tables are looked for: the directory part of the program's
// path as given or, when it has none (a program found through PATH, or started
// from the current directory), the directory of the running program's file.
std::string program_directory(const std::string& program_path)
{
    const std::string given = paths::splitpath(program_path).dir;
    return given.empty() ? paths::splitpath(platform::running_program_path()).dir : given;
}

File open_input(const std::string& path)
{
    File in(std::fopen(path.c_str(), "rb"));
    if (in && platform::is_directory(in.get())) {
        in.reset();
        errno = EISDIR;
    }
    return in;
}

// The two files a run makes. Each is written under an unfinished name and
// takes its final name only at the end of the run: the listing always (a
// Fatal listing too), the data file only when the conversion finished.
struct Outputs {
    NewFile listing;
    NewFile data;
};

enum class LoopEnd { done, read_failed, write_failed, listing_failed };

// What the row loop keeps for the summary.
struct LoopResult {
    LoopEnd end = LoopEnd::done;
    int records = 0;
    int saved_errno = 0;
};

LoopResult row_loop(RowReader& in, RecordOutput& out, const Run& run, const CodeTables& tables,
                    rowchecks::LoopState& state, Listing& listing, Progress& progress)
{
    rowchecks::RowCount& count = state.count;
    LoopResult result;
    std::string line;
    while (!in.eof()) {
        in.next(line);
        if (in.failed()) {
            result.saved_errno = errno;
            result.end = LoopEnd::read_failed;
            return result;
        }
        // The reader ends a line at its first line end, so a line feed can
        // only be its last byte.
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        if (in.eof() && line.empty())
            break;
        progress.row(++count.n);
        if (in.breaks() > 0)
            listing.report(msg::line_break_in_cell, count.n);
        if (rowchecks::check_row(line, run, tables, state, listing) == rowchecks::RowOutcome::blank)
            continue;
        record::lay_out(state.row, run.format, count.n, listing, out.next());
        if (!out.commit()) {
            result.saved_errno = errno;
            result.end = LoopEnd::write_failed;
            return result;
        }
        ++result.records;
        // A listing that can no longer be written ends the run at once.
        if (listing.write_failed()) {
            result.end = LoopEnd::listing_failed;
            return result;
        }
    }
    return result;
}

// Ends a run whose input or output failed part-way: the unfinished data file
// goes first (on a full disk that frees the room the listing's Fatal needs),
// and the earlier data file stays as it was.
int abandon_run(const LoopResult& result, const RunPaths& paths, Outputs& files, Listing& listing)
{
    files.data.discard();
    if (result.end == LoopEnd::read_failed)
        file_failed(listing, result.saved_errno, msg::input_read_failed, paths.input);
    else
        file_failed(listing, result.saved_errno, msg::output_write_failed, paths.output);
    return exit_status::fatal;
}

// What the closing lines tell: the records written (blank rows give none, in
// either layout) and the highest household number. They go to the listing,
// and to the console once the listing is in place.
struct Closing {
    int records = 0;
    long long highest = 0;
};

Closing closing_of(const Run& run, const rowchecks::LoopState& state, const LoopResult& result)
{
    // In the SS-CENS layout the converter numbers households itself, so the
    // last one is the highest.
    return {result.records,
            run.brief ? text::leading_value(state.carried.prev_household) : state.tallies.highest_household};
}

void console_summary(const Closing& closing, const RunPaths& paths, const Listing& listing)
{
    console("%s", msg::text(msg::records_written, closing.records, closing.highest) +
                      msg::text(msg::output_file, paths.output));
    console("\n %d errors", listing.nerr());
    if (!listing.quiet())
        console(", %d warnings", listing.nwarn());
    console(". see %s\n", paths.listing);
}

int final_status(const Listing& listing)
{
    if (listing.nerr() > 0)
        return exit_status::tabulon::errors;
    if (listing.nwarn() > 0)
        return exit_status::tabulon::warnings;
    return exit_status::tabulon::clean;
}

// The listing could not be written: nothing of the run is kept.
int listing_failed(const RunPaths& paths, Outputs& files, int error)
{
    files.data.discard();
    files.listing.discard();
    console_failure(error, "Fatal: Listing file (%s) write failed\n", paths.listing);
    return exit_status::fatal;
}

// Closes the listing and moves the finished files into place: the data file
// (when the conversion finished) before the listing, so that a new listing
// always stands beside its own data file.
int finish_files(int status, const RunPaths& paths, Outputs& files, Listing& listing)
{
    if (listing.write_failed()) {
        files.listing.discard();
        return listing_failed(paths, files, listing.write_error());
    }
    if (!files.listing.close())
        return listing_failed(paths, files, errno);
    const NewFile* failed = status == exit_status::fatal ? NewFile::install({&files.listing})
                                                         : NewFile::install({&files.data, &files.listing});
    if (failed == &files.listing)
        return listing_failed(paths, files, errno);
    if (failed) {
        console_io::write_with_reason(msg::text(msg::output_write_failed, paths.output), errno);
        return exit_status::fatal;
    }
    return status;
}

// The run from the listing's opening on: everything it writes goes to the
// listing and the data file, which the caller then puts in place.
int convert_piece(Run& run, RunPaths& paths, const paths::PathParts& input, Outputs& files, Listing& listing,
                  Closing& closing)
{
    if (input.ext.empty()) {
        listing.report(msg::no_extension, paths.input);
        return exit_status::fatal;
    }
    if (!is_piece_extension(input.ext)) {
        listing.report(msg::not_csv);
        return exit_status::fatal;
    }
    std::string base = input.base;
    if (const int status = decode_census(base, run, listing); status != 0)
        return status;
    listing.reset_counts();

    const CodeTables tables = load_code_tables(paths.program_dir, run, listing);

    File in = open_input(paths.input);
    if (!in) {
        const int error = errno;
        file_failed(listing, error, msg::input_open_failed, paths.input);
        return exit_status::fatal;
    }
    LineReader lines(in.get());
    RowReader reader(lines, run.brief ? RowReader::Layout::ss_cens : RowReader::Layout::all);

    rowchecks::RowCount count;
    std::string header_book;
    if (run.brief) {
        switch (read_header_rows(reader, run, count.n, header_book, listing)) {
        case HeaderOutcome::ok:
            break;
        case HeaderOutcome::fatal:
            return exit_status::fatal;
        case HeaderOutcome::read_failed: {
            const int error = errno;
            file_failed(listing, error, msg::input_read_failed, paths.input);
            return exit_status::fatal;
        }
        }
    }

    paths.output = paths::makepath(input.dir, base, output_extension(run));
    if (!files.data.open(paths.output, NewFile::Mode::binary)) {
        const int error = errno;
        file_failed(listing, error, msg::output_open_failed, paths.output);
        return exit_status::fatal;
    }

    listing.report(msg::listing_header, version, platform::utc_date_text(), paths.input);
    rowchecks::LoopState state;
    start_rows(run, header_book, state, listing);

    Progress progress;
    RecordOutput records(files.data.get(), run.rlen());
    LoopResult result = row_loop(reader, records, run, tables, state, listing, progress);
    progress.flush();
    if (result.end == LoopEnd::listing_failed)
        return exit_status::fatal;  // told when the listing is finished
    if (result.end == LoopEnd::done && !records.flush()) {
        result.end = LoopEnd::write_failed;
        result.saved_errno = errno;
    }
    if (result.end == LoopEnd::done && !files.data.close()) {
        result.end = LoopEnd::write_failed;
        result.saved_errno = errno;
    }
    if (result.end != LoopEnd::done)
        return abandon_run(result, paths, files, listing);

    closing = closing_of(run, state, result);
    listing.report(msg::records_written, closing.records, closing.highest);
    listing.report(msg::output_file, paths.output);
    return final_status(listing);
}

}  // namespace

int convert(int argc, char** argv)
{
    if (argc <= 1) {
        usage();
        return exit_status::no_arguments;
    }
    Run run;
    const int file_index = options(argc, argv, run);
    if (file_index == 0)
        return exit_status::no_file_name;

    RunPaths paths;
    const std::string program_path = argv[0] ? argv[0] : "";
    if (program_path.size() > max_program_path) {
        console("Fatal: Program path too long, move it closer to the root of the disk\n");
        return exit_status::fatal;
    }
    paths.program_dir = program_directory(program_path);
    paths.input = argv[file_index];
    if (paths.input.size() > max_input_path) {
        console("Fatal: File path too long, move it closer to the root of the disk\n");
        return exit_status::fatal;
    }
    const paths::PathParts input = paths::splitpath(paths.input);

    paths.listing = paths::makepath(input.dir, input.base, "erc");
    Listing listing(run.quiet, run.verbose);
    Outputs files;
    if (!files.listing.open(paths.listing, NewFile::Mode::text)) {
        const int error = errno;
        file_failed(listing, error, msg::messages_open_failed, paths.listing);
        return exit_status::fatal;
    }
    listing.attach(files.listing.get());

    Closing closing;
    const int status = finish_files(convert_piece(run, paths, input, files, listing, closing), paths, files, listing);
    if (status != exit_status::fatal)
        console_summary(closing, paths, listing);
    return status;
}

}  // namespace tabulon
