#include "converter.h"
#include "twrapper.h"

int program::_main(int argc, char** argv)
{
    return tabulon::convert(argc, argv);
}
