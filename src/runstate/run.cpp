#include "run.h"

#include "conventions.h"

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
    if (switch_letter::is_help(letter))
        return SwitchEffect::help;
    switch (switch_letter::folded(letter)) {
    case switch_letter::all: run.brief = false; break;
    case switch_letter::brief: run.brief = true; break;
    case switch_letter::checked: run.rlen = 276; break;
    case switch_letter::validated: run.rlen = 299; break;
    case switch_letter::quiet: run.quiet = true; run.verbose = false; break;
    case switch_letter::verbose: run.verbose = true; run.quiet = false; break;
    case switch_letter::rcheck: run.rcheck = true; break;
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
