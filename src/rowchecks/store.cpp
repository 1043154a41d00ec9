#include "store.h"

#include "text.h"

namespace rowchecks {

void store_carried(const tabulon::Run& run, const Row& row, Carried& carried)
{
    // The ALL layout's numbers run on from what was typed, even where a
    // household break renumbered this row; the SS-CENS numbering runs on from
    // the row's own.
    carried.prev_household = run.brief ? row.household : row.household_cell;
    carried.prev_member = run.brief ? row.member : row.member_cell;

    carried.prev_book = row.book;
    carried.prev_parish = row.parish;
    if (run.has_district())
        carried.prev_district = row.district;
    carried.prev_ed = row.ed_text;
    carried.prev_folio = row.folio_text;
    carried.prev_page = row.page;
    carried.prev_schedule = row.schedule_text;
    carried.prev_house = row.house_text;
    carried.prev_address = row.address;
    carried.prev_uninhabited = row.uninhabited;
}

void fold_schedule(int n, Row& row, Listing& listing)
{
    const long long schedule = text::leading_value(row.schedule);
    if (schedule > 999 && schedule <= 1999) {
        row.schedule_suffix = '!';
        row.schedule = std::to_string(schedule - 1000);
    } else if (schedule > 1999) {
        listing.report(msg::schedule_too_large, n);
        row.schedule = "999";
    }
}

}  // namespace rowchecks
