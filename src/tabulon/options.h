// The converter's command line: usage text and switches.
#pragma once

#include "run.h"

namespace tabulon {

void usage();

// Reads the switches into run; returns the index of the input file name in
// argv, or 0 when there is none or help was asked for.
int options(int argc, char** argv, Run& run);

}  // namespace tabulon
