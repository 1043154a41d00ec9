// The titles row of an 1881 piece in the SS-CENS layout of 256-byte records,
// as a spreadsheet saves it (CR LF), for the end-to-end tests.
#pragma once

#include <string>

namespace e2e {

inline const std::string sscens_titles =
    "Civil Parish,ED,Folio,Page,Schedule,House Number,Address,Uninhabited Flag,Surname,Forenames,"
    "Name Flag,Relationship,Condition,Sex,Age,Detail Flag,Occupation,Employed Status,"
    "Occupation Flag,Chapman Code,Birth Place,Birth Place Flag,Disability,Language,Notes\r\n";

}  // namespace e2e
