#include "options.h"

#include <string>

#include "console.h"
#include "platform.h"

namespace quillet {

void usage()
{
    say("Usage (v%s): quillet [-a] [-h|-?] <filename.DAT>\n", version);
    say("\ta=ALL, h|?=HELP\n");
}

Options options(int argc, char** argv)
{
    Options result;
    for (int index = 1; index < argc; ++index) {
        const std::string arg = argv[index];
        if (!platform::is_switch(arg)) {
            result.file_index = index;
            return result;
        }
        switch (arg.size() > 1 ? arg[1] : '\0') {
        case '?':
        case 'H':
        case 'h':
            usage();
            result.file_index = 0;
            return result;
        case 'A':
        case 'a':
            result.all = true;
            break;
        case 'I':
        case 'i':
            result.all = false;
            break;
        default:
            say("Unknown option %s\n", arg.c_str());
            break;
        }
    }
    return result;
}

}  // namespace quillet
