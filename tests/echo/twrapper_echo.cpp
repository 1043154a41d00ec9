// A program behind the real launcher whose _main shows what it was given.
#include <cstdio>

#include "twrapper.h"

int program::_main(int argc, char** argv)
{
    std::printf("argc=%d\n", argc);
    for (int i = 0; i < argc; ++i)
        std::printf("argv[%d]=%s\n", i, argv[i]);
    std::fflush(stdout);
    return argc;
}
