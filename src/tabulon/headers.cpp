#include "headers.h"

#include "rowloop.h"

#include "extract.h"
#include "normalise.h"
#include "options.h"
#include "text.h"

namespace tabulon {

namespace {

// Reads one header row; false (after the Fatal lines) when the read ran into
// the end of the input.
bool read_row(RowReader& in, std::string& line, msg::message<> missing, Listing& listing)
{
    in.next(line);
    if (in.eof()) {
        if (!in.failed())
            listing.report(missing);
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
    std::string a1 = extract(line, pos, 30, ctx, flags, listing);
    text::capitals(a1, text::CaseMap::eight_bit);
    if (!listing.warnings_on())
        return;
    const bool piece = starts_with(a1, "RG") || starts_with(a1, "HO") || starts_with(a1, "RS") ||
                       starts_with(a1, "HS") || starts_with(a1, "SCT");
    if (!piece)
        listing.report(msg::a1_not_piece);
}

std::string book_cell(const std::string& line, std::size_t& pos, const Run& run,
                      const ExtractContext& ctx, ExtractFlags& flags, Listing& listing)
{
    std::string book = extract(line, pos, 4, ctx, flags, listing);
    if (run.english_1841()) {
        if (!numeric(book))
            listing.report(msg::b1_book_not_numeric, book);
        if (book.empty())
            book = "0";
    } else if (run.year == 1841) {
        if (!book.empty())
            listing.report(msg::b1_book_ignored_sct, book);
        book.clear();
    } else {
        if (!book.empty())
            listing.report(msg::b1_book_ignored, book, run.year);
        book.clear();
    }
    return book;
}

int count_titles(const std::string& line, const ExtractContext& ctx, Listing& listing)
{
    ExtractFlags flags;
    std::size_t pos = 0;
    int count = 0;
    while (count < 30 && !extract(line, pos, 50, ctx, flags, listing).empty())
        ++count;
    return count;
}

}  // namespace

HeaderOutcome read_header_rows(RowReader& in, const Run& run, int& n, std::string& header_book,
                               Listing& listing)
{
    std::string line;
    if (!read_row(in, line, msg::no_data, listing))
        return in.failed() ? HeaderOutcome::read_failed : HeaderOutcome::fatal;
    cut_at_line_feed(line);
    n = 1;
    ExtractFlags flags;
    std::size_t pos = 0;
    check_piece_cell(line, pos, ExtractContext{n, true}, flags, listing);
    header_book = book_cell(line, pos, run, ExtractContext{n, true}, flags, listing);

    if (!read_row(in, line, msg::one_header_row, listing))
        return in.failed() ? HeaderOutcome::read_failed : HeaderOutcome::fatal;
    n = 2;
    // A row 2 ending in a comma would otherwise count its line end as a title.
    cut_at_line_feed(line);
    const int titles = count_titles(line, ExtractContext{n, true}, listing);
    if (!titles_match(titles, run)) {
        listing.report(msg::titles_mismatch, titles);
        return HeaderOutcome::fatal;
    }

    if (!read_row(in, line, msg::two_header_rows, listing))
        return in.failed() ? HeaderOutcome::read_failed : HeaderOutcome::fatal;
    n = 3;
    return HeaderOutcome::ok;
}

namespace {

void write_run_description(const Run& run, Listing& listing)
{
    const char* mode = run.quiet ? ", QUIET" : run.verbose ? ", VERBOSE" : "";
    listing.report(msg::run_description, run.year, input_format_name(run), output_format_name(run), mode);
}

// An English 1841 piece should carry book numbers from header cell B1.
void check_header_book(const Run& run, const std::string& book, Listing& listing)
{
    if (!run.english_1841() || !listing.warnings_on())
        return;
    const long long value = text::leading_value(book);
    if (value > 100)
        listing.report(msg::books_not_in_use);
    else if (value == 0)
        listing.report(msg::books_not_set);
}

}  // namespace

void start_rows(const Run& run, const std::string& header_book, rowchecks::LoopState& state, Listing& listing)
{
    write_run_description(run, listing);
    state = rowchecks::start_state(run, header_book);
    if (!run.brief)
        return;
    listing.report(msg::row_offset, state.count.row_offset);
    // In the ALL layout each row brings its own book number, so there is
    // nothing to check before the first row.
    check_header_book(run, header_book, listing);
}

}  // namespace tabulon
