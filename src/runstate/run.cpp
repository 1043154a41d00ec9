#include "run.h"

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
    switch (letter) {
    case 'a': case 'A': run.brief = false; break;
    case 'b': case 'B': run.brief = true; break;
    case 'c': case 'C': run.format = Format::check_cens; break;
    case 'd': case 'D': run.format = Format::vald_rev; break;
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
    return facts(run.format).name;
}

const char* output_extension(const Run& run)
{
    return facts(run.format).extension;
}

}  // namespace tabulon
