// The fields of a data row by name: the checks, the record writer, the
// message catalogue and the report all name a column with these.
#pragma once

namespace rowchecks {

enum class Field {
    status, book, household, member, parish, district, ed, folio, page, schedule, house, address,
    uninhabited, surname, forenames, name_flag, relationship, condition, sex, age, detail_flag,
    occupation, employed, occupation_flag, county, birthplace, birthplace_flag, alt_county,
    alt_birthplace, disability, language, notes
};

inline constexpr int field_count = static_cast<int>(Field::notes) + 1;

}  // namespace rowchecks
