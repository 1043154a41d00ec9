#include "columns.h"

namespace rowchecks {

namespace {

struct FieldInfo {
    const char* title;
    text::Field Row::*member;
};

constexpr FieldInfo fields[field_count] = {
    {"Status", &Row::status},
    {"Book", &Row::book},
    {"Household", &Row::household},
    {"Member", &Row::member},
    {"Civil parish", &Row::parish},
    {"Eccl. District", &Row::district},
    {"ED", &Row::ed},
    {"Folio", &Row::folio},
    {"Page", &Row::page},
    {"Schedule", &Row::schedule},
    {"House", &Row::house},
    {"Address", &Row::address},
    {"Uninhabited", &Row::uninhabited},
    {"Surname", &Row::surname},
    {"Forenames", &Row::forenames},
    {"Name flag", &Row::name_flag},
    {"Relationship", &Row::relationship},
    {"Condition", &Row::condition},
    {"Sex", &Row::sex},
    {"Age", &Row::age},
    {"Detail flag", &Row::detail_flag},
    {"Occupation", &Row::occupation},
    {"Employed", &Row::employed},
    {"Occupation flag", &Row::occupation_flag},
    {"County", &Row::county},
    {"Birth place", &Row::birthplace},
    {"Birth place flag", &Row::birthplace_flag},
    {"Alt. county", &Row::alt_county},
    {"Alt. birth place", &Row::alt_birthplace},
    {"Disability", &Row::disability},
    {"Language", &Row::language},
    {"Notes", &Row::notes},
};

const FieldInfo& info(Field field)
{
    return fields[static_cast<int>(field)];
}

void append(std::vector<Column>& out, std::initializer_list<Column> more)
{
    for (const Column& column : more)
        out.push_back(column);
}

// The columns from the civil parish's group to the notes, shared by both
// layouts; the SS-CENS layout adds its Eccl. District, employed status and
// alternates in between.
void person_columns(const tabulon::Run& run, std::vector<Column>& out)
{
    using F = Field;
    append(out, {{F::ed, width::ed, Query::none}, {F::folio, width::folio, Query::none},
                           {F::page, width::page, Query::none}, {F::schedule, width::schedule, Query::none},
                           {F::house, width::house, Query::none}, {F::address, width::address, Query::flag},
                           {F::uninhabited, width::flag, Query::none}, {F::surname, width::surname, Query::flag},
                           {F::forenames, width::forenames, Query::flag}, {F::name_flag, width::flag, Query::none},
                           {F::relationship, width::relationship, Query::flag},
                           {F::condition, width::condition, Query::none}, {F::sex, width::sex, Query::none},
                           {F::age, width::age, Query::none}, {F::detail_flag, width::flag, Query::none},
                           {F::occupation, width::occupation, Query::flag}});
    if (run.brief)
        out.push_back({F::employed, width::flag, Query::none});
    append(out, {{F::occupation_flag, width::flag, Query::none}, {F::county, width::county, Query::none},
                           {F::birthplace, width::birthplace, Query::flag},
                           {F::birthplace_flag, width::flag, Query::none}});
    if (run.brief && run.rlen > 276)
        append(out, {{F::alt_county, width::county, Query::none},
                               {F::alt_birthplace, width::birthplace, Query::flag}});
    append(out, {{F::disability, width::disability, Query::plain},
                           {F::language, width::language, Query::none}, {F::notes, width::notes, Query::none}});
}

}  // namespace

std::vector<Column> columns(const tabulon::Run& run)
{
    using F = Field;
    std::vector<Column> out;
    if (!run.brief)
        append(out, {{F::status, width::status, Query::none}, {F::book, width::book, Query::none},
                               {F::household, width::household, Query::none},
                               {F::member, width::member, Query::none}});
    out.push_back({F::parish, width::parish, Query::plain});
    if (run.brief && run.rlen > 256)
        out.push_back({F::district, width::district, Query::plain});
    person_columns(run, out);
    if (!run.brief && run.rlen > 256)
        out.push_back({F::district, width::district, Query::plain});
    if (!run.brief && run.rlen > 276)
        append(out, {{F::alt_county, width::county, Query::none},
                               {F::alt_birthplace, width::birthplace, Query::flag}});
    if (run.brief && run.rlen > 276 && run.english_1841())
        out.push_back({F::book, width::book, Query::none});
    return out;
}

const char* field_title(Field field)
{
    return info(field).title;
}

text::Field Row::*field_member(Field field)
{
    return info(field).member;
}

}  // namespace rowchecks
