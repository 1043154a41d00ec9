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
    run.brief = true;
    run.rlen = 256;
    run.verbose = false;
    run.quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!platform::is_switch(arg))
            return i;
        // Only the letter after the switch character counts: -verbose is -v.
        switch (arg.size() > 1 ? arg[1] : '\0') {
        case 'a': case 'A': run.brief = false; break;
        case 'b': case 'B': run.brief = true; break;
        case 'c': case 'C': run.rlen = 276; break;
        case 'd': case 'D': run.rlen = 299; break;
        case 'q': case 'Q': run.quiet = true; run.verbose = false; break;
        case 'v': case 'V': run.verbose = true; run.quiet = false; break;
        case 'r': case 'R': run.rcheck = true; break;
        case 'h': case 'H': case '?':
            usage();
            return 0;
        default:
            console("Unknown option %s\n", arg);
            break;
        }
    }
    return 0;
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
