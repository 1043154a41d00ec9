#include "headers.h"

#include "columns.h"
#include "rowloop.h"

#include "extract.h"
#include "normalise.h"
#include "text.h"

namespace tabulon {

namespace {

// Reads one header row; false (after the Fatal lines) when the read ran into
// the end of the input.
bool read_row(RowReader& in, std::string& line, const char* listing_text, const char* console_text,
              Listing& listing)
{
    in.next(line);
    if (in.eof()) {
        if (!in.failed())
            listing.fatal(listing_text, console_text);
        return false;
    }
    return true;
}

void cut_at_line_feed(std::string& line)
{
    const auto lf = line.find('\n');
    if (lf != std::string::npos)
        line.resize(lf);
}

bool starts_with(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

void check_piece_cell(const std::string& line, std::size_t& pos, const ExtractContext& ctx,
                      ExtractFlags& flags, Listing& listing)
{
    std::string a1 = extract(line, pos, rowchecks::header::piece_width, ctx, flags, listing);
    text::capitals(a1, text::CaseMap::eight_bit);
    if (!listing.warnings_on())
        return;
    const bool piece = starts_with(a1, "RG") || starts_with(a1, "HO") || starts_with(a1, "RS") ||
                       starts_with(a1, "HS") || starts_with(a1, "SCT");
    if (!piece)
        listing.warning("Warning: Cell A1 doesn't contain a valid piece number\n\n");
}

std::string book_cell(const std::string& line, std::size_t& pos, const Run& run,
                      const ExtractContext& ctx, ExtractFlags& flags, Listing& listing)
{
    std::string book = extract(line, pos, rowchecks::header::book_width, ctx, flags, listing);
    if (run.english_1841()) {
        if (!numeric(book))
            listing.warning("Warning: cell B1 contains a non-numeric book number %s\n\n", book);
        if (book.empty())
            book = "0";
    } else if (run.year == 1841) {
        if (!book.empty())
            listing.warning("Warning: ENG 1841 book number %s in cell B1 ignored for SCT piece\n\n", book);
        book.clear();
    } else {
        if (!book.empty())
            listing.warning("Warning: 1841 book number %s in cell B1 ignored for %d piece\n\n", book,
                            run.year);
        book.clear();
    }
    return book;
}

int count_titles(const std::string& line, const ExtractContext& ctx, Listing& listing)
{
    ExtractFlags flags;
    std::size_t pos = 0;
    std::size_t count = 0;
    while (count < rowchecks::header::most_titles &&
           !extract(line, pos, rowchecks::header::title_width, ctx, flags, listing).empty())
        ++count;
    return static_cast<int>(count);
}

}  // namespace

HeaderOutcome read_header_rows(RowReader& in, const Run& run, int& n, std::string& header_book,
                               Listing& listing)
{
    std::string line;
    if (!read_row(in, line, "Fatal: row 1, No data in file, it appears to be empty\n",
                  "Fatal: No data in file, it appears to be empty\n", listing))
        return in.failed() ? HeaderOutcome::read_failed : HeaderOutcome::fatal;
    cut_at_line_feed(line);
    n = 1;
    ExtractFlags flags;
    std::size_t pos = 0;
    check_piece_cell(line, pos, ExtractContext{n, true}, flags, listing);
    header_book = book_cell(line, pos, run, ExtractContext{n, true}, flags, listing);

    if (!read_row(in, line, "Fatal: row 2, No data in file, only one header row was found\n",
                  "Fatal: No data in file, only one header row was found\n", listing))
        return in.failed() ? HeaderOutcome::read_failed : HeaderOutcome::fatal;
    n = 2;
    // A row 2 ending in a comma would otherwise count its line end as a title.
    cut_at_line_feed(line);
    const int titles = count_titles(line, ExtractContext{n, true}, listing);
    if (!rowchecks::titles_match(titles, run.format)) {
        listing.fatal(msgfmt("Fatal: row 2, File type switch does not match number of columns in data "
                             "(%d)\n\tall the titles in row 2 must be non-blank\n",
                             titles),
                      "Fatal: File type switch does not match number of columns in data\n"
                      "\tall the headers in row 2 must be non-blank\n");
        return HeaderOutcome::fatal;
    }

    if (!read_row(in, line, "Fatal: row 3, No data in file, only two header rows were found\n",
                  "Fatal: No data in file, only two header rows were found\n", listing))
        return in.failed() ? HeaderOutcome::read_failed : HeaderOutcome::fatal;
    n = 3;
    return HeaderOutcome::ok;
}

namespace {

void write_run_description(const Run& run, Listing& listing)
{
    const char* mode = run.quiet ? ", QUIET" : run.verbose ? ", VERBOSE" : "";
    listing.plain("Census year = %d, input format = %s, output format = %s%s\n\n", run.year,
                  input_format_name(run), output_format_name(run), mode);
}

// An English 1841 piece should carry book numbers from header cell B1.
void check_header_book(const Run& run, const std::string& book, Listing& listing)
{
    if (!run.english_1841() || !listing.warnings_on())
        return;
    const long long value = text::leading_value(book);
    if (value > 100)
        listing.warning("Warning: Old format file, Book numbers not in use\n");
    else if (value == 0)
        listing.warning("Warning: Book numbers not set\n");
}

}  // namespace

void start_rows(const Run& run, const std::string& header_book, rowchecks::LoopState& state, Listing& listing)
{
    write_run_description(run, listing);
    state = rowchecks::start_state(run, header_book);
    if (!run.brief)
        return;
    listing.plain("Subtract %d from row numbers in messages to get the corresponding record in the "
                  "output file.\n\n",
                  state.count.row_offset);
    // In the ALL layout each row brings its own book number, so there is
    // nothing to check before the first row.
    check_header_book(run, header_book, listing);
}

}  // namespace tabulon
