#include "report.h"
#include "twrapper.h"

int _main(int argc, char** argv)
{
    return tabreport::report(argc, argv);
}
