#include "converter.h"
#include "twrapper.h"

int _main(int argc, char** argv)
{
    return tabulon::convert(argc, argv);
}
