#include "record.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "text.h"

namespace record {

namespace {

// The record is laid out field after field at a moving position; every
// field writes its whole width.
struct Cursor {
    char* at;

    // A text field: left-justified, blank-filled, and never wider than its field.
    void text(std::string_view value, std::size_t width)
    {
        const std::size_t size = std::min(value.size(), width);
        std::memcpy(at, value.data(), size);
        std::memset(at + size, ' ', width - size);
        at += width;
    }

    // A field's text: its buffer is blank past its end, so its first width
    // characters are the column as it stands, for a copy of fixed length.
    void text(const text::Field& value, std::size_t width)
    {
        std::memcpy(at, value.data(), width);
        at += width;
    }

    // A one-character field; an empty value is written as a blank (the blank
    // its buffer holds).
    void character(const text::Field& value) { *at++ = value[0]; }
    void character(char value) { *at++ = value; }

    // A number field: zero-filled to width digits. A value that does not fit, a
    // negative one included, is written as nines; returns false then.
    bool number(const text::Field& value, int width)
    {
        // Digits alone, and no more of them than the field holds: the text
        // itself, right-aligned over zeros, is the number.
        const std::size_t size = value.size();
        std::size_t digits = 0;
        while (digits < size && value[digits] >= '0' && value[digits] <= '9')
            ++digits;
        if (digits == size && size != 0 && size <= static_cast<std::size_t>(width)) {
            std::memset(at, '0', static_cast<std::size_t>(width));
            std::memcpy(at + width - size, value.data(), size);
            at += width;
            return true;
        }
        long long rest = text::leading_value(value);
        long long limit = 1;
        for (int i = 0; i < width; ++i)
            limit *= 10;
        const bool fits = rest >= 0 && rest < limit;
        for (int i = width - 1; i >= 0; --i) {
            at[i] = fits ? static_cast<char>('0' + rest % 10) : '9';
            rest /= 10;
        }
        at += width;
        return fits;
    }
};

// A schedule number that still has four characters (0012) is written by its value.
void put_schedule(Cursor& out, const text::Field& schedule)
{
    if (schedule.size() <= 3) {
        out.text(schedule, 3);
        return;
    }
    const long long value = text::leading_value(schedule);
    if (value >= 0 && value < 1000)
        out.text(std::string_view(std::to_string(value)), 3);
    else
        out.text(schedule, 3);
}

// An age of four characters is written by its value when that fits three
// digits; a larger one as 999 with the detail flag raised.
void put_age(Cursor& out, const text::Field& age, bool& raise_detail_flag)
{
    if (age.size() <= 3) {
        out.text(age, 3);
        return;
    }
    const long long value = text::leading_value(age);
    if (value >= 0 && value <= 999) {
        out.text(std::string_view(std::to_string(value)), 3);
    } else {
        out.text(std::string_view("999"), 3);
        raise_detail_flag = true;
    }
}

}  // namespace

void lay_out(const rowchecks::Row& row, int rlen, int n, Listing& listing, char* at)
{
    Cursor out{at};
    out.character(row.status);
    out.text(row.book, 4);
    const bool household_fits = out.number(row.household, 6);
    const bool member_fits = out.number(row.member, 4);
    out.text(row.parish, 20);
    out.text(row.ed, 3);
    out.character(row.ed_suffix);
    out.text(row.folio, 4);
    out.character(row.folio_suffix);
    out.text(row.page, 4);
    put_schedule(out, row.schedule);
    out.character(row.schedule_suffix);
    out.text(row.house, 4);
    out.character(row.house_suffix);
    out.text(row.address, 30);
    out.character(row.uninhabited);

    out.text(row.surname, 24);
    out.text(row.forenames, 24);
    out.character(row.name_flag);
    out.text(row.relationship, 6);
    out.character(row.condition);
    out.character(row.sex);
    bool raise_detail_flag = false;
    put_age(out, row.age, raise_detail_flag);
    out.character(row.age_units);
    if (raise_detail_flag)
        out.character('x');
    else
        out.character(row.detail_flag);

    out.text(row.occupation, 30);
    out.character(row.occupation_flag);
    out.text(row.county, 3);
    out.text(row.birthplace, 20);
    out.character(row.birthplace_flag);
    out.text(row.disability, 6);
    out.character(row.language);
    out.text(row.notes, 44);

    if (rlen > 256)
        out.text(row.district, 20);
    if (rlen > 276) {
        out.text(row.alt_county, 3);
        out.text(row.alt_birthplace, 20);
    }

    // The fields fill each record length exactly; blanks would fill any rest.
    if (const auto laid = static_cast<std::size_t>(out.at - at); laid < static_cast<std::size_t>(rlen))
        std::memset(out.at, ' ', static_cast<std::size_t>(rlen) - laid);

    if (!household_fits)
        listing.report(msg::household_too_large, n, row.household);
    if (!member_fits)
        listing.report(msg::member_too_large, n, row.member);
}

std::string build_record(const rowchecks::Row& row, int rlen, int n, Listing& listing)
{
    std::string record(static_cast<std::size_t>(rlen), ' ');
    lay_out(row, rlen, n, listing, record.data());
    return record;
}

}  // namespace record
