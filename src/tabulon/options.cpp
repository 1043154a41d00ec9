#include "options.h"

#include <string>

#include "console_io.h"
#include "conventions.h"
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
        switch (apply_switch(switch_letter::of(arg), run)) {
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
