#include "occupation.h"

#include "columns.h"
#include "flags.h"
#include "normalise.h"

namespace rowchecks {

namespace {

// The text an employed status adds to the occupation; nullptr for an unknown status.
const char* employed_text(char status)
{
    switch (status) {
    case 'E':
        return "(Em'ee)";
    case 'R':
        return "(Em'er)";
    case 'N':
        return "(Notem)";
    default:
        return nullptr;
    }
}

// Longest occupation that still takes a seven-character employed-status text.
constexpr std::size_t room_for_status = column(Field::occupation).width - 7;

// Employer, employee or neither: from 1891 the status is written after the
// occupation itself, as the record has no field of its own for it.
void fold_employed(int n, Row& row, Listing& listing)
{
    if (row.employed.empty())
        row.employed = "-";
    else
        upper_ascii(row.employed);
    if (row.employed == " " || row.employed == "-")
        return;
    if (row.occupation.size() > room_for_status) {
        listing.report(msg::no_room_for_employed, n);
        row.occupation_flag = "x";
    } else if (const char* text = employed_text(row.employed[0])) {
        row.occupation += text;
    } else {
        listing.report(msg::employed_invalid, n, row.employed);
        row.occupation_flag = "x";
    }
    if (row.occupation.size() > column(Field::occupation).width)
        row.occupation.resize(column(Field::occupation).width);
}

}  // namespace

void check_occupation(const RowContext& ctx, Row& row, Listing& listing)
{
    normalise_flag(row.occupation_flag);
    inits(row.occupation);
    // Only the SS-CENS layout has an employed-status column.
    if (ctx.run.brief) {
        if (ctx.run.year > 1881)
            fold_employed(ctx.n, row, listing);
        else if (!row.employed.empty())
            listing.report(msg::employed_ignored, ctx.n);
    }
    if (!flag_valid(row.occupation_flag)) {
        listing.report(msg::occupation_flag_invalid, ctx.n, row.occupation_flag);
        row.occupation_flag = "x";
    }
}

}  // namespace rowchecks
