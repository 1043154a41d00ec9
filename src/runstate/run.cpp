#include "run.h"

#include "conventions.h"

namespace tabulon {

void set_default_switches(Run& run)
{
    run.brief = true;
    run.format = Format::in_cens;
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
    case switch_letter::checked: run.format = Format::check_cens; break;
    case switch_letter::validated: run.format = Format::vald_rev; break;
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
    return facts(run.format).name;
}

const char* output_extension(const Run& run)
{
    return facts(run.format).extension;
}

}  // namespace tabulon
