#include <string>

#include "converter.h"
#include "paths.h"
#include "report.h"
#include "twrapper.h"

// The browser's module holds the converter and the report writer together;
// the name of the program path it is started with says which one runs.
int program::_main(int argc, char** argv)
{
    const std::string name = argc > 0 && argv[0] ? paths::splitpath(argv[0]).base : "";
    if (name == "tabreport")
        return tabreport::report(argc, argv);
    return tabulon::convert(argc, argv);
}
