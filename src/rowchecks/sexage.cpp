#include "sexage.h"

#include "flags.h"
#include "normalise.h"
#include "text.h"

namespace rowchecks {

namespace {

// Stands for a missing or unreadable age, always in years and always flagged.
constexpr long long no_age = 999;

void check_sex(int n, Row& row, Listing& listing)
{
    if (row.sex.empty()) {
        listing.report(msg::sex_missing, n);
        row.sex = "-";
        row.detail_flag = "x";
    } else {
        upper_ascii(row.sex);
    }
    if (row.sex != "M" && row.sex != "F" && row.sex != "-") {
        listing.report(msg::sex_invalid, n, row.sex);
        row.sex = "-";
    }
}

// Splits the units letter off the age and makes the number usable; returns
// its value.
long long read_age(int n, Row& row, Listing& listing)
{
    row.age_units = part2(row.age);
    if (row.age.empty()) {
        if (row.detail_flag != "x")
            listing.report(msg::age_missing, n);
        row.age = "999";
        row.detail_flag = "x";
    }
    if (!numeric(row.age)) {
        listing.report(msg::age_not_numeric, n, row.age);
        row.age = "999";
        row.age_units = 'y';
    }
    const long long age = text::leading_value(row.age);
    if (row.age_units == ' ')
        row.age_units = 'y';
    else if (row.age_units >= 'A' && row.age_units <= 'Z')
        row.age_units = static_cast<char>(row.age_units - 'A' + 'a');
    if (age == no_age) {
        row.age_units = 'y';
        row.detail_flag = "x";
    }
    return age;
}

// Whether the age is beyond what its unit allows (30 months is more likely 30
// years, or a slip), with the warning; an unknown unit counts as beyond.
bool beyond_limit(int n, long long age, char units, Listing& listing)
{
    switch (units) {
    case 'y':
        if (age == no_age || age <= 120)
            return false;
        listing.report(msg::age_over_120y, n);
        return true;
    case 'm':
        if (age <= 24)
            return false;
        listing.report(msg::age_over_24m, n);
        return true;
    case 'w':
        if (age <= 20)
            return false;
        listing.report(msg::age_over_20w, n);
        return true;
    case 'd':
        if (age <= 30)
            return false;
        listing.report(msg::age_over_30d, n);
        return true;
    default:
        listing.report(msg::age_units_invalid, n, units);
        return true;
    }
}

}  // namespace

void check_sex_age(const RowContext& ctx, Row& row, Listing& listing)
{
    const int n = ctx.n;
    check_sex(n, row, listing);

    const long long age = read_age(n, row, listing);
    if (age == 0) {
        listing.report(msg::age_zero, n);
        row.detail_flag = "x";
    }
    if (beyond_limit(n, age, row.age_units, listing))
        row.detail_flag = "x";

    // Anyone married or widowed should be at least 14 years old.
    const bool married = row.condition == "M" || row.condition == "W";
    if (ctx.run.year > 1841 && married && (age <= 13 || row.age_units != 'y')) {
        listing.report(msg::married_under_14, n);
        row.detail_flag = "x";
    }

    if (!flag_valid(row.detail_flag)) {
        listing.report(msg::detail_flag_invalid, n, row.detail_flag);
        row.detail_flag = "x";
    }
}

}  // namespace rowchecks
