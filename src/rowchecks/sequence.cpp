#include "sequence.h"

#include "values.h"

namespace rowchecks {

namespace {

// Neither the same as prev nor one more.
bool breaks_sequence(long long current, long long prev) { return current != prev && current != prev + 1; }

void start_of_ed(const RowContext& ctx, const Row& row, Tallies& tallies, Listing& listing)
{
    const tabulon::Run& run = ctx.run;
    const int n = ctx.n;
    // A whole 1841 English piece numbers its EDs by book, not in one run.
    const bool whole_1841_piece = run.english_1841() && run.ipart == 0;
    if (!whole_1841_piece && listing.warnings_on()) {
        const long long ed = value(row.ed), prev = value(ctx.prev.prev_ed);
        if (ed != 0 && prev != 0 && breaks_sequence(ed, prev))
            listing.report(msg::ed_not_sequential, n, row.ed_text);
    }
    if (row.ed_suffix == ' ' && value(row.page) > 1)
        listing.report(msg::first_page_of_ed, n, row.page);
    if (value(row.folio) == 0)
        listing.report(msg::folio_zero, n);
    if (!run.sct && run.ipart == 0 && value(row.folio) > value(ctx.prev.prev_folio) + 5)
        listing.report(msg::folio_gap, n, row.folio_text);
    // The row is the first line of the ED's first page.
    tallies.page_lines = 1;
    tallies.folio_pages = 1;
}

void next_page(const RowContext& ctx, const Row& row, Tallies& tallies, Listing& listing)
{
    // The first row of a later page is not counted.
    tallies.page_lines = 0;
    if (ctx.run.sct)
        return;
    if (row.folio_text != ctx.prev.prev_folio) {
        tallies.folio_pages = 1;
        return;
    }
    if (++tallies.folio_pages > 2 && value(row.folio) != 0) {
        listing.report(msg::too_many_pages, ctx.n, row.folio_text);
        tallies.folio_pages = 0;
    }
}

void same_page(const RowContext& ctx, const Row& row, Tallies& tallies, Listing& listing)
{
    const tabulon::Run& run = ctx.run;
    const Carried& prev = ctx.prev;
    const int n = ctx.n;
    if (listing.warnings_on()) {
        if (row.parish != prev.prev_parish)
            listing.report(msg::parish_changed_in_page, n);
        if (run.year > 1841 && run.has_district() && row.district != prev.prev_district)
            listing.report(msg::district_changed_in_page, n);
        if (row.folio_text != prev.prev_folio)
            listing.report(msg::folio_changed_in_page, n);
        if (run.english_1841() && row.book != prev.prev_book)
            listing.report(msg::book_changed_in_page, n);
    }
    if (++tallies.page_lines > 31 && value(row.page) != 0) {
        listing.report(msg::too_many_lines, n, row.page);
        tallies.page_lines = 0;
    }
}

void within_ed(const RowContext& ctx, const Row& row, Tallies& tallies, Listing& listing)
{
    const Carried& prev = ctx.prev;
    const int n = ctx.n;
    if (breaks_sequence(value(row.page), value(prev.prev_page)))
        listing.report(msg::page_not_sequential, n, row.page);
    if (!ctx.run.sct && breaks_sequence(value(row.folio), value(prev.prev_folio)))
        listing.report(msg::folio_not_sequential, n, row.folio_text);

    if (row.page != prev.prev_page)
        next_page(ctx, row, tallies, listing);
    else if (row.ed_suffix != '8')  // rows of an ED written #8 are not counted
        same_page(ctx, row, tallies, listing);
}

}  // namespace

void check_book(const RowContext& ctx, Row& row, Listing& listing)
{
    if (!ctx.run.english_1841())
        return;
    const Carried& prev = ctx.prev;
    if (ctx.run.brief) {
        if (!numeric(row.book))
            listing.report(msg::book_not_numeric, ctx.n, row.book);
        // Folio numbers that start again begin the next book.
        text::Field expected_book = prev.prev_book;
        if (value(row.folio) < value(prev.prev_folio) && value(expected_book) != 0)
            expected_book = std::to_string(value(expected_book) + 1);
        if (row.book.empty() || row.book == "0")
            row.book = expected_book;
    }
    const long long book = value(row.book);
    if (book != 0 && breaks_sequence(book, value(prev.prev_book)))
        listing.report(msg::book_not_sequential, ctx.n, row.book);
}

void check_sequence(const RowContext& ctx, const Row& row, Tallies& tallies, Listing& listing)
{
    if (row.ed_text != ctx.prev.prev_ed)
        start_of_ed(ctx, row, tallies, listing);
    else
        within_ed(ctx, row, tallies, listing);
}

}  // namespace rowchecks
