#include "run.h"

namespace tabulon {

void set_default_switches(Run& run)
{
    run.brief = true;
    run.rlen = 256;
    run.verbose = false;
    run.quiet = false;
}

SwitchEffect apply_switch(char letter, Run& run)
{
    switch (letter) {
    case 'a': case 'A': run.brief = false; break;
    case 'b': case 'B': run.brief = true; break;
    case 'c': case 'C': run.rlen = 276; break;
    case 'd': case 'D': run.rlen = 299; break;
    case 'q': case 'Q': run.quiet = true; run.verbose = false; break;
    case 'v': case 'V': run.verbose = true; run.quiet = false; break;
    case 'r': case 'R': run.rcheck = true; break;
    case 'h': case 'H': case '?': return SwitchEffect::help;
    default: return SwitchEffect::unknown;
    }
    return SwitchEffect::applied;
}

const char* input_format_name(const Run& run)
{
    return run.brief ? "SS-CENS" : "ALL";
}

const char* output_format_name(const Run& run)
{
    return run.rlen == 299 ? "VALD-REV" : run.rlen == 276 ? "CHECK-CENS" : "IN-CENS";
}

const char* output_extension(const Run& run)
{
    return run.rlen == 299 ? "vld" : run.rlen == 276 ? "val" : "dat";
}

}  // namespace tabulon
