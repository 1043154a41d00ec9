#include "record.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "columns.h"
#include "text.h"

namespace record {

namespace {

using rowchecks::Column;
using rowchecks::Field;
using rowchecks::Kind;

// A text left-justified and blank-filled in its place, and never wider.
void put_text(char* at, std::string_view value, std::size_t width)
{
    const std::size_t size = std::min(value.size(), width);
    std::memcpy(at, value.data(), size);
    std::memset(at + size, ' ', width - size);
}

// A number zero-filled to width digits. A value that does not fit, a
// negative one included, is written as nines; returns false then.
[[gnu::always_inline]] inline bool put_number(char* at, const text::Field& value, std::size_t width)
{
    // Digits alone, and no more of them than the field holds: the text
    // itself, right-aligned over zeros, is the number.
    const std::size_t size = value.size();
    std::size_t digits = 0;
    while (digits < size && value[digits] >= '0' && value[digits] <= '9')
        ++digits;
    if (digits == size && size != 0 && size <= width) {
        std::memset(at, '0', width);
        std::memcpy(at + width - size, value.data(), size);
        return true;
    }
    long long rest = text::leading_value(value);
    long long limit = 1;
    for (std::size_t i = 0; i < width; ++i)
        limit *= 10;
    const bool fits = rest >= 0 && rest < limit;
    for (std::size_t i = width; i-- > 0;) {
        at[i] = fits ? static_cast<char>('0' + rest % 10) : '9';
        rest /= 10;
    }
    return fits;
}

// A schedule number that still has four characters (0012) is written by its value.
[[gnu::always_inline]] inline void put_schedule(char* at, const text::Field& schedule)
{
    if (schedule.size() > 3) {
        const long long value = text::leading_value(schedule);
        if (value >= 0 && value < 1000)
            return put_text(at, std::to_string(value), 3);
    }
    std::memcpy(at, schedule.data(), 3);
}

// An age of four characters is written by its value when that fits three
// digits; a larger one as 999, and false returned.
[[gnu::always_inline]] inline bool put_age(char* at, const text::Field& age)
{
    if (age.size() <= 3) {
        std::memcpy(at, age.data(), 3);
        return true;
    }
    const long long value = text::leading_value(age);
    const bool fits = value >= 0 && value <= 999;
    put_text(at, fits ? std::to_string(value) : "999", 3);
    return fits;
}

// What did not fit its place in the record.
struct Overflow {
    bool household = false;
    bool member = false;
    bool age = false;  // written as 999, with the detail flag raised
};

// Where the record's field `index` starts; for the count of fields, the record's length.
template <tabulon::Format F>
constexpr std::size_t place_of(std::size_t index)
{
    std::size_t at = 0;
    for (std::size_t i = 0; i < index; ++i)
        at += rowchecks::record_columns<F>[i].width;
    return at;
}

template <tabulon::Format F, std::size_t I>
[[gnu::always_inline]] inline void put(const rowchecks::Row& row, char* record, Overflow& overflow)
{
    constexpr Column column = rowchecks::record_columns<F>[I];
    constexpr std::size_t place = place_of<F>(I);
    const text::Field& value = row.*column.member;
    char* const at = record + place;
    if constexpr (column.kind == Kind::text) {
        std::memcpy(at, value.data(), column.width);
    } else if constexpr (column.kind == Kind::character) {
        // (An empty value's buffer holds a blank.) The age comes before the detail flag.
        *at = column.field == Field::detail_flag && overflow.age ? 'x' : value[0];
    } else if constexpr (column.kind == Kind::number) {
        const bool fits = put_number(at, value, column.width);
        if constexpr (column.field == Field::household)
            overflow.household = !fits;
        if constexpr (column.field == Field::member)
            overflow.member = !fits;
    } else {  // a number in all but the last place, then its suffix
        if constexpr (column.field == Field::schedule)
            put_schedule(at, value);
        else if constexpr (column.field == Field::age)
            overflow.age = !put_age(at, value);
        else
            std::memcpy(at, value.data(), column.width - 1);  // a field's buffer is blank past its end
        at[column.width - 1] = row.*column.suffix;
    }
}

// The row and the record are passed to each put as they are (not through a
// closure), so that the stores into the record leave them in registers.
template <tabulon::Format F, std::size_t... I>
[[gnu::always_inline]] inline Overflow lay_out_as(const rowchecks::Row& row, char* record, std::index_sequence<I...>)
{
    static_assert(place_of<F>(sizeof...(I)) == static_cast<std::size_t>(tabulon::facts(F).rlen),
                  "the record's fields fill its length exactly");
    Overflow overflow;
    (put<F, I>(row, record, overflow), ...);
    return overflow;
}

template <tabulon::Format F>
[[gnu::always_inline]] inline Overflow lay_out_as(const rowchecks::Row& row, char* record)
{
    return lay_out_as<F>(row, record, std::make_index_sequence<rowchecks::record_columns<F>.size()>{});
}

}  // namespace

void lay_out(const rowchecks::Row& row, tabulon::Format format, int n, Listing& listing, char* at)
{
    Overflow overflow;
    switch (format) {
    case tabulon::Format::in_cens: overflow = lay_out_as<tabulon::Format::in_cens>(row, at); break;
    case tabulon::Format::check_cens: overflow = lay_out_as<tabulon::Format::check_cens>(row, at); break;
    case tabulon::Format::vald_rev: overflow = lay_out_as<tabulon::Format::vald_rev>(row, at); break;
    }
    if (overflow.household)
        listing.report(msg::household_too_large, n, row.household);
    if (overflow.member)
        listing.report(msg::member_too_large, n, row.member);
}

std::string build_record(const rowchecks::Row& row, tabulon::Format format, int n, Listing& listing)
{
    std::string record(static_cast<std::size_t>(tabulon::facts(format).rlen), ' ');
    lay_out(row, format, n, listing, record.data());
    return record;
}

}  // namespace record
