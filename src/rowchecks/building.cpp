#include "building.h"

#include "charclass.h"
#include "text.h"

namespace rowchecks {

namespace {

const char* building_text(char code)
{
    switch (code) {
    case 'u':
        return "Uninhabited";
    case 'b':
        return "Building in Progress";
    case 'n':
        return "Schedule not used";
    default:
        return "Visiting";
    }
}

// A building has no person: every person field gets a fixed value. Employed
// status, the alternate birth place and the notes stay as typed.
void set_building_person(Row& row)
{
    row.surname = building_text(row.uninhabited[0]);
    row.forenames.clear();
    row.name_flag = "-";
    row.relationship.clear();
    row.condition = " ";
    row.sex = " ";
    row.age.clear();
    row.age_units = ' ';
    row.detail_flag = "-";
    row.occupation.clear();
    row.occupation_flag = "-";
    row.county.clear();
    row.birthplace.clear();
    row.birthplace_flag = "-";
    row.disability.clear();
    row.language = " ";
}

void check_person_flag(const RowContext& ctx, Row& row, Listing& listing)
{
    if (row.uninhabited != "x" && row.uninhabited != "-") {
        listing.report(msg::uninhabited_invalid, ctx.n, row.uninhabited);
        row.uninhabited = "x";
    }
    if (row.address_flag == "x")
        row.uninhabited = "x";
    if (is_building_code(ctx.prev.prev_uninhabited) && !row.new_household) {
        listing.report(msg::household_after_uninhabited, ctx.n);
        force_household_break(ctx.run, row);
        row.uninhabited = "x";
    }
}

}  // namespace

bool is_building_code(const text::Field& flag)
{
    return flag == "u" || flag == "b" || flag == "n" || flag == "v";
}

void force_household_break(const tabulon::Run& run, Row& row)
{
    row.new_household = true;
    row.schedule = "0";
    row.household = std::to_string(text::leading_value(row.household) + (run.brief ? 1 : 10000));
    row.member = "1";
}

void check_building(const RowContext& ctx, Row& row, Tallies& tallies, Listing& listing)
{
    if (row.uninhabited.empty())
        row.uninhabited = "-";
    else
        row.uninhabited[0] = static_cast<char>(charclass::tolower8(static_cast<unsigned char>(row.uninhabited[0])));

    row.uninhabited_row = is_building_code(row.uninhabited);
    if (row.uninhabited_row) {
        set_building_person(row);
        if (!row.new_household) {
            listing.report(msg::uninhabited_not_new_household, ctx.n, row.uninhabited);
            force_household_break(ctx.run, row);
        }
    } else {
        check_person_flag(ctx, row, listing);
    }

    const long long household = text::leading_value(row.household);
    if (household > tallies.highest_household)
        tallies.highest_household = household;

    if (ctx.run.brief && !row.new_household) {
        if (row.house.empty())
            row.house = ctx.prev.prev_house;
        if (row.address.empty())
            row.address = ctx.prev.prev_address;
    }
}

}  // namespace rowchecks
