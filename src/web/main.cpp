#include <cstdio>
#include <string>

#include "converter.h"
#include "file.h"
#include "options.h"
#include "paths.h"
#include "report.h"
#include "twrapper.h"

namespace {

// "layout PIECE": the layout the piece needs, for the page to choose its
// switches by. The standard output gets the switch letters ("", "c", "ac")
// on the first line, or "none", then the line that says why.
int find_layout_of(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    File piece(std::fopen(argv[1], "rb"));
    if (!piece)
        return 12;
    const tabulon::LayoutFit fit = tabulon::find_layout(piece.get());
    std::printf("%s\n%s\n", fit.fits ? fit.letters.c_str() : "none",
                (fit.fits ? tabulon::layout_found(fit) : tabulon::layout_advice(fit)).c_str());
    return 0;
}

}  // namespace

// The browser's module holds the converter, the report writer and the layout
// finder together; the name of the program path it is started with says
// which one runs.
int program::_main(int argc, char** argv)
{
    const std::string name = argc > 0 && argv[0] ? paths::splitpath(argv[0]).base : "";
    if (name == "tabreport")
        return tabreport::report(argc, argv);
    if (name == "layout")
        return find_layout_of(argc, argv);
    return tabulon::convert(argc, argv);
}
