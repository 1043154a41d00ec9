#include "schedule.h"

#include "values.h"

namespace rowchecks {

namespace {

// Splits the suffixes off, keeping the texts as typed. A "!" after a schedule
// number adds 1000 to it; after anything else the "!" is left to be reported.
void split_numbers(Row& row)
{
    row.schedule_text = row.schedule;
    row.schedule_suffix = part2(row.schedule);
    row.house_text = row.house;
    row.house_suffix = part2(row.house);
    if (row.schedule_suffix == '!' && !row.schedule.empty() && numeric(row.schedule)) {
        row.schedule = std::to_string(value(row.schedule) + 1000);
        row.schedule_suffix = ' ';
    }
}

void check_number_forms(int n, Row& row, Listing& listing)
{
    if (row.house.size() > 4) {
        listing.report(msg::house_too_long, n);
        row.house = "9999";
    }
    if (!numeric(row.schedule)) {
        listing.report(msg::schedule_not_numeric, n, row.schedule);
        row.schedule = "999";
    }
    if (row.schedule_suffix != ' ' && !charclass::isalpha8(static_cast<unsigned char>(row.schedule_suffix))) {
        listing.report(msg::schedule_suffix_invalid, n, row.schedule_suffix);
        row.schedule_suffix = ' ';
    }
}

void check_schedule_sequence(const RowContext& ctx, const Row& row, Listing& listing)
{
    const Carried& prev = ctx.prev;
    const int n = ctx.n;
    if (row.ed_text != prev.prev_ed) {
        if (row.ed_suffix == ' ' && ctx.run.year > 1841 && value(row.schedule) > 1)
            listing.report(msg::first_schedule_of_ed, n, row.schedule);
        return;
    }
    if (!row.new_household && row.schedule_text != prev.prev_schedule)
        listing.report(msg::schedule_changed_in_household, n);
    if (!listing.warnings_on())
        return;
    if (!row.uninhabited_row && row.new_household && value(row.schedule) != 0 &&
        row.schedule_text == prev.prev_schedule)
        listing.report(msg::schedule_repeated, n, row.schedule);
    const long long typed = value(row.schedule_text), before = value(prev.prev_schedule);
    if (row.ed_suffix != '8' && typed != before && value(row.schedule) != 0 && before != 0 && typed != before + 1)
        listing.report(msg::schedule_not_sequential, n, row.schedule);
}

void check_house_and_address(const RowContext& ctx, Row& row, Listing& listing)
{
    const Carried& prev = ctx.prev;
    const int n = ctx.n;
    if (!numeric(row.house))
        listing.report(msg::house_not_numeric, n, row.house);
    if (row.address.empty()) {
        if (row.uninhabited != "x")
            listing.report(msg::address_missing, n);
        row.address = "-";
    } else {
        inits(row.address);
    }
    if (row.new_household)
        return;
    if (row.house_text != prev.prev_house)
        listing.report(msg::house_changed_in_household, n);
    if (row.address != prev.prev_address) {
        // A missing address continues the household's.
        if (row.address == "-")
            row.address = prev.prev_address;
        else
            listing.report(msg::address_changed_in_household, n);
    }
}

}  // namespace

void check_schedule_and_house(const RowContext& ctx, Row& row, Listing& listing)
{
    split_numbers(row);
    check_number_forms(ctx.n, row, listing);
    check_schedule_sequence(ctx, row, listing);
    // 1841 records carry no schedule number; the typed text is still compared
    // with the next row's.
    if (ctx.run.year == 1841)
        row.schedule.clear();
    check_house_and_address(ctx, row, listing);
}

}  // namespace rowchecks
