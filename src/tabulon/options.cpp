#include "options.h"

#include <string>

#include "listing.h"
#include "platform.h"

namespace tabulon {

void usage()
{
    console("Usage (v%s): tabulon [-a] [-c|-d] [-q|-v] [-h|-?] [-r] <filename.CSV>\n", version);
    console("\ta=ALL, c=CHECKED, d=VALIDATED, q=QUIET, v=VERBOSE, h|?=HELP\n");
}

int options(int argc, char** argv, Run& run)
{
    set_default_switches(run);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!platform::is_switch(arg))
            return i;
        // Only the letter after the switch character counts: -verbose is -v.
        switch (apply_switch(arg.size() > 1 ? arg[1] : '\0', run)) {
        case SwitchEffect::applied:
            break;
        case SwitchEffect::help:
            usage();
            return 0;
        case SwitchEffect::unknown:
            console("Unknown option %s\n", arg);
            break;
        }
    }
    return 0;
}

}  // namespace tabulon
