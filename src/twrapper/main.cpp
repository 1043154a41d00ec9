#include <cstdio>

#include "twrapper.h"

int main(int argc, char** argv)
{
    return twrapper::run(argc, argv, stdin, stdout);
}
