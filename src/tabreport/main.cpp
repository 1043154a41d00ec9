#include "report.h"
#include "twrapper.h"

int program::_main(int argc, char** argv)
{
    return tabreport::report(argc, argv);
}
