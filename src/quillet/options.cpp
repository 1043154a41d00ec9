#include "options.h"

#include <string>

#include "console.h"
#include "platform.h"

namespace quillet {

void usage(std::FILE* console)
{
    write_text(console, "Usage (v%s): quillet [-a] [-h|-?] <filename.DAT>\n", version);
    write_text(console, "\ta=ALL, h|?=HELP\n");
}

Options options(int argc, char** argv, std::FILE* console)
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
            usage(console);
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
            write_text(console, "Unknown option %s\n", arg.c_str());
            break;
        }
    }
    return result;
}

}  // namespace quillet
