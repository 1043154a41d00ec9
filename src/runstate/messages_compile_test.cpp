// Messages given the wrong values, and catalogue entries that are malformed,
// do not compile. Each CASE is compiled on its own: 0 must compile, every
// other must fail with the check's own complaint.
#include "listing.h"

void write(Listing& listing)
{
#if CASE == 0
    listing.report(msg::surname_unusual, 4, std::string("Smith"));
    listing.report(msg::ed_suffix_invalid, 4, 'x');
#elif CASE == 1
    listing.report(msg::surname_unusual, 4);  // a value missing
#elif CASE == 2
    listing.report(msg::surname_unusual, 4, 5);  // a number for a text
#elif CASE == 3
    listing.report(msg::ed_suffix_invalid, 4, 65);  // a number for a character
#elif CASE == 4
    listing.report(msg::age_zero, 4, "x");  // one value too many
#elif CASE == 5
    constexpr msg::Entry entry{msg::age_zero, msg::Field::age, "", "Warning: row %d, zero age\n"};  // no label
#elif CASE == 6
    constexpr msg::Entry entry{msg::age_zero, msg::Field::age, "zero age", "Warning: row %5d, zero age\n"};
#endif
}
