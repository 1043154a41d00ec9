// One-character flag and code columns of the person checks.
#pragma once

#include "field.h"

namespace rowchecks {

// Plain ASCII case changes of a one-character column; other characters stay.
inline void lower_ascii(text::Field& code)
{
    if (!code.empty() && code[0] >= 'A' && code[0] <= 'Z')
        code[0] = static_cast<char>(code[0] - 'A' + 'a');
}

inline void upper_ascii(text::Field& code)
{
    if (!code.empty() && code[0] >= 'a' && code[0] <= 'z')
        code[0] = static_cast<char>(code[0] - 'a' + 'A');
}

// A flag column: an empty cell means "certain" ("-"); a capital X counts as x.
inline void normalise_flag(text::Field& flag)
{
    if (flag.empty())
        flag = "-";
    else
        lower_ascii(flag);
}

inline bool flag_valid(const text::Field& flag) { return flag == "x" || flag == "-"; }

}  // namespace rowchecks
