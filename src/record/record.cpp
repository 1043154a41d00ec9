#include "record.h"

#include <cstdio>

#include "text.h"

namespace record {

namespace {

// A text field: left-justified, blank-filled, and never wider than its field.
void put_text(std::string& out, const std::string& value, std::size_t width)
{
    std::string field = value.substr(0, width);
    out += text::pad(field, width);
}

// A one-character field; an empty value is written as a blank.
void put_char(std::string& out, const std::string& value)
{
    out += value.empty() ? ' ' : value[0];
}

// A number field: zero-filled to width digits. A value that does not fit, a
// negative one included, is written as nines; returns false then.
bool put_number(std::string& out, const std::string& value, int width)
{
    const long long number = text::leading_value(value);
    long long limit = 1;
    for (int i = 0; i < width; ++i)
        limit *= 10;
    if (number < 0 || number >= limit) {
        out.append(static_cast<std::size_t>(width), '9');
        return false;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, number);
    out += buf;
    return true;
}

// A schedule number that still has four characters (0012) is written by its value.
std::string schedule_for_record(const std::string& schedule)
{
    if (schedule.size() <= 3)
        return schedule;
    const long long value = text::leading_value(schedule);
    return value >= 0 && value < 1000 ? std::to_string(value) : schedule;
}

// An age of four characters is written by its value when that fits three
// digits; a larger one as 999 with the detail flag raised.
void put_age(std::string& out, const std::string& age, std::string& detail_flag)
{
    if (age.size() <= 3) {
        put_text(out, age, 3);
        return;
    }
    const long long value = text::leading_value(age);
    if (value >= 0 && value <= 999) {
        put_text(out, std::to_string(value), 3);
    } else {
        put_text(out, "999", 3);
        detail_flag = "x";
    }
}

}  // namespace

std::string build_record(const rowchecks::Row& row, int rlen, int n, Listing& listing)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(rlen));

    put_char(out, row.status);
    put_text(out, row.book, 4);
    const bool household_fits = put_number(out, row.household, 6);
    const bool member_fits = put_number(out, row.member, 4);
    put_text(out, row.parish, 20);
    put_text(out, row.ed, 3);
    out += row.ed_suffix;
    put_text(out, row.folio, 4);
    out += row.folio_suffix;
    put_text(out, row.page, 4);
    put_text(out, schedule_for_record(row.schedule), 3);
    out += row.schedule_suffix;
    put_text(out, row.house, 4);
    out += row.house_suffix;
    put_text(out, row.address, 30);
    put_char(out, row.uninhabited);

    std::string detail_flag = row.detail_flag;
    put_text(out, row.surname, 24);
    put_text(out, row.forenames, 24);
    put_char(out, row.name_flag);
    put_text(out, row.relationship, 6);
    put_char(out, row.condition);
    put_char(out, row.sex);
    put_age(out, row.age, detail_flag);
    out += row.age_units;
    put_char(out, detail_flag);

    put_text(out, row.occupation, 30);
    put_char(out, row.occupation_flag);
    put_text(out, row.county, 3);
    put_text(out, row.birthplace, 20);
    put_char(out, row.birthplace_flag);
    put_text(out, row.disability, 6);
    put_char(out, row.language);
    put_text(out, row.notes, 44);

    if (rlen > 256)
        put_text(out, row.district, 20);
    if (rlen > 276) {
        put_text(out, row.alt_county, 3);
        put_text(out, row.alt_birthplace, 20);
    }

    if (!household_fits)
        listing.error("Error: row %d, household number = %s too large for the output record\n", n,
                      row.household);
    if (!member_fits)
        listing.error("Error: row %d, household member number = %s too large for the output record\n",
                      n, row.member);
    return out;
}

}  // namespace record
