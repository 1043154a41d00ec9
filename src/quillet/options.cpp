#include "options.h"

#include <string>

#include "console.h"
#include "conventions.h"
#include "platform.h"

namespace quillet {

void usage()
{
    console("Usage (v%s): quillet [-a] [-h|-?] <filename.DAT>\n", version);
    console("\ta=ALL, h|?=HELP\n");
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
        const char letter = switch_letter::of(arg);
        if (switch_letter::is_help(letter)) {
            usage();
            result.file_index = 0;
            return result;
        }
        switch (switch_letter::folded(letter)) {
        case 'a':
            result.all = true;
            break;
        case 'i':
            result.all = false;
            break;
        default:
            console("Unknown option %s\n", arg);
            break;
        }
    }
    return result;
}

}  // namespace quillet
