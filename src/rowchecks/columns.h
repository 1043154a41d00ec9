// The columns of a row, each defined once: every field's entry in `fields`
// (its name, where the row keeps it, the width it is read at, how its question
// marks are taken out, the flag group it ends and how the record holds it),
// and each input layout's columns in order, some only for some record
// formats. The row intake cuts each layout by its list (one cutter per layout,
// made when compiling), the record is laid out by the ALL layout's list (the
// ALL layout is the record's fields in the record's order, each as wide as
// its place), header row 2 is held to the SS-CENS column count, and programs
// that show a piece cell by cell take its columns from here.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "row.h"
#include "row_fields.h"
#include "run.h"

namespace rowchecks {

// How the row intake treats a question mark in the column: not at all; taken
// out at once; or taken out at the end of the column's flag group, raising
// the group's flag.
enum class Query { none, plain, flag };

// The flag group that a column ends. An extraction error in any column since
// the previous group's end, and a question mark taken out of them, raise the
// group's flag; the errors of the columns up to the end of `unflagged` raise none.
enum class Group { none, unflagged, address, name, detail, occupation, birthplace };

// How the record holds the field: a text blank-filled to the width; one
// character; a number zero-filled to the width; a number in all but the last
// place and its suffix (or units) character in the last.
enum class Kind { text, character, number, suffixed };

struct Column {
    Field field;
    const char* title;  // the column's name as a transcriber knows it
    text::Field Row::*member;
    std::size_t width;  // read at; also the width of its place in the record
    Kind kind = Kind::text;
    Query query = Query::none;
    Group ends = Group::none;
    char Row::*suffix = nullptr;  // Kind::suffixed
};

// Every field, in the order of Field.
inline constexpr std::array<Column, field_count> fields = [] {
    using F = Field;
    using K = Kind;
    using Q = Query;
    using G = Group;
    return std::array<Column, field_count>{{
        {F::status, "Status", &Row::status, 1, K::character},
        {F::book, "Book", &Row::book, 4},
        {F::household, "Household", &Row::household, 6, K::number},
        {F::member, "Member", &Row::member, 4, K::number},
        {F::parish, "Civil parish", &Row::parish, 20, K::text, Q::plain},
        {F::district, "Eccl. District", &Row::district, 20, K::text, Q::plain},
        {F::ed, "ED", &Row::ed, 4, K::suffixed, Q::none, G::none, &Row::ed_suffix},
        {F::folio, "Folio", &Row::folio, 5, K::suffixed, Q::none, G::none, &Row::folio_suffix},
        {F::page, "Page", &Row::page, 4},
        {F::schedule, "Schedule", &Row::schedule, 4, K::suffixed, Q::none, G::unflagged, &Row::schedule_suffix},
        {F::house, "House", &Row::house, 5, K::suffixed, Q::none, G::none, &Row::house_suffix},
        {F::address, "Address", &Row::address, 30, K::text, Q::flag},
        {F::uninhabited, "Uninhabited", &Row::uninhabited, 1, K::character, Q::none, G::address},
        {F::surname, "Surname", &Row::surname, 24, K::text, Q::flag},
        {F::forenames, "Forenames", &Row::forenames, 24, K::text, Q::flag},
        {F::name_flag, "Name flag", &Row::name_flag, 1, K::character, Q::none, G::name},
        {F::relationship, "Relationship", &Row::relationship, 6, K::text, Q::flag},
        {F::condition, "Condition", &Row::condition, 1, K::character},
        {F::sex, "Sex", &Row::sex, 1, K::character},
        {F::age, "Age", &Row::age, 4, K::suffixed, Q::none, G::none, &Row::age_units},
        {F::detail_flag, "Detail flag", &Row::detail_flag, 1, K::character, Q::none, G::detail},
        {F::occupation, "Occupation", &Row::occupation, 30, K::text, Q::flag},
        {F::employed, "Employed", &Row::employed, 1, K::character},
        {F::occupation_flag, "Occupation flag", &Row::occupation_flag, 1, K::character, Q::none, G::occupation},
        {F::county, "County", &Row::county, 3},
        {F::birthplace, "Birth place", &Row::birthplace, 20, K::text, Q::flag},
        {F::birthplace_flag, "Birth place flag", &Row::birthplace_flag, 1, K::character, Q::none, G::birthplace},
        {F::alt_county, "Alt. county", &Row::alt_county, 3},
        {F::alt_birthplace, "Alt. birth place", &Row::alt_birthplace, 20, K::text, Q::flag, G::birthplace},
        {F::disability, "Disability", &Row::disability, 6, K::text, Q::plain},
        {F::language, "Language", &Row::language, 1, K::character},
        {F::notes, "Notes", &Row::notes, 44},
    }};
}();

static_assert([] {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].field != static_cast<Field>(i))
            return false;
    return true;
}(), "each field's entry stands at its place in Field's order");

constexpr const Column& column(Field field)
{
    return fields[static_cast<std::size_t>(field)];
}

// The flag each group raises (none for Group::none and Group::unflagged).
constexpr text::Field Row::*flag_of(Group group)
{
    constexpr text::Field Row::*flags[] = {nullptr, nullptr, &Row::address_flag, &Row::name_flag,
                                           &Row::detail_flag, &Row::occupation_flag, &Row::birthplace_flag};
    return flags[static_cast<int>(group)];
}

// Which record formats (and pieces) a column of a layout belongs to.
enum class When { always, district, alternates, book };

struct Place {
    Field field;
    When when = When::always;
};

// The SS-CENS layout: the converter numbers households and members itself,
// and the VALD-REV layout of an English 1841 piece ends with the book.
inline constexpr Place ss_cens_columns[] = {
    {Field::parish}, {Field::district, When::district}, {Field::ed}, {Field::folio}, {Field::page},
    {Field::schedule}, {Field::house}, {Field::address}, {Field::uninhabited}, {Field::surname},
    {Field::forenames}, {Field::name_flag}, {Field::relationship}, {Field::condition}, {Field::sex},
    {Field::age}, {Field::detail_flag}, {Field::occupation}, {Field::employed}, {Field::occupation_flag},
    {Field::county}, {Field::birthplace}, {Field::birthplace_flag}, {Field::alt_county, When::alternates},
    {Field::alt_birthplace, When::alternates}, {Field::disability}, {Field::language}, {Field::notes},
    {Field::book, When::book},
};

// The ALL layout: status, book, household and member first, and the
// formats' own columns last, in the record's order.
inline constexpr Place all_columns[] = {
    {Field::status}, {Field::book}, {Field::household}, {Field::member}, {Field::parish}, {Field::ed},
    {Field::folio}, {Field::page}, {Field::schedule}, {Field::house}, {Field::address}, {Field::uninhabited},
    {Field::surname}, {Field::forenames}, {Field::name_flag}, {Field::relationship}, {Field::condition},
    {Field::sex}, {Field::age}, {Field::detail_flag}, {Field::occupation}, {Field::occupation_flag},
    {Field::county}, {Field::birthplace}, {Field::birthplace_flag}, {Field::disability}, {Field::language},
    {Field::notes}, {Field::district, When::district}, {Field::alt_county, When::alternates},
    {Field::alt_birthplace, When::alternates},
};

// One input layout for one record format.
struct Layout {
    bool brief;  // SS-CENS; false: ALL
    tabulon::Format format;
    bool book = false;  // the SS-CENS VALD-REV layout of an English 1841 piece
};

namespace layout_detail {

constexpr bool present(When when, const Layout& layout)
{
    return when == When::always || (when == When::district && tabulon::has_district(layout.format)) ||
           (when == When::alternates && tabulon::has_alternates(layout.format)) || (when == When::book && layout.book);
}

constexpr std::span<const Place> places(const Layout& layout)
{
    return layout.brief ? std::span<const Place>(ss_cens_columns) : std::span<const Place>(all_columns);
}

constexpr std::size_t count(const Layout& layout)
{
    std::size_t count = 0;
    for (const Place& place : places(layout))
        count += present(place.when, layout);
    return count;
}

}  // namespace layout_detail

// The columns of a layout, left to right.
template <Layout L>
inline constexpr std::array<Column, layout_detail::count(L)> columns_of = [] {
    std::array<Column, layout_detail::count(L)> out{};
    std::size_t i = 0;
    for (const Place& place : layout_detail::places(L))
        if (layout_detail::present(place.when, L))
            out[i++] = column(place.field);
    return out;
}();

// The record's fields, in order, each as wide as its place in the record.
template <tabulon::Format F>
inline constexpr const auto& record_columns = columns_of<Layout{false, F}>;

// Calls visit.template operator()<L>() for the run's layout L.
template <class Visit>
decltype(auto) visit_layout(const tabulon::Run& run, Visit&& visit)
{
    using tabulon::Format;
    const auto in_format = [&]<Format F>() -> decltype(auto) {
        if (!run.brief)
            return visit.template operator()<Layout{false, F}>();
        if constexpr (tabulon::has_alternates(F))
            if (run.has_book_column())
                return visit.template operator()<Layout{true, F, true}>();
        return visit.template operator()<Layout{true, F}>();
    };
    switch (run.format) {
    case Format::check_cens: return in_format.template operator()<Format::check_cens>();
    case Format::vald_rev: return in_format.template operator()<Format::vald_rev>();
    case Format::in_cens: break;
    }
    return in_format.template operator()<Format::in_cens>();
}

// The columns of the run's layout, left to right.
inline std::span<const Column> columns(const tabulon::Run& run)
{
    return visit_layout(run, []<Layout L>() { return std::span<const Column>(columns_of<L>); });
}

// The header rows of the SS-CENS layout: cell A1 names the piece and B1
// holds the 1841 book; row 2 holds the titles, counted up to the first blank.
namespace header {
inline constexpr std::size_t piece_width = 30;
inline constexpr std::size_t book_width = column(Field::book).width;
inline constexpr std::size_t title_width = 50;
inline constexpr std::size_t most_titles = 30;
}  // namespace header

// Row 2 has a title for every column of the SS-CENS layout: with the VALD-REV
// format it may have one for the book column or not, whatever the piece.
constexpr bool titles_match(int count, tabulon::Format format)
{
    const auto with_book = [&](bool book) { return static_cast<int>(layout_detail::count({true, format, book})); };
    return count == with_book(false) || count == with_book(tabulon::has_alternates(format));
}

}  // namespace rowchecks
