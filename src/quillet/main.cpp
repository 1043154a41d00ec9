// quillet: the parameters-file editor. The launcher's main() calls _main().
#include "editor.h"
#include "twrapper.h"

int program::_main(int argc, char** argv)
{
    return quillet::run(argc, argv, quillet::Replies{});
}
