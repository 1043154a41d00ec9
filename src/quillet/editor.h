// The editor program: switches, opening the parameters file, reading its
// header, then listing mode or the edit dialogue.
#pragma once

#include "console.h"

namespace quillet {

// Runs the whole program; returns the exit status.
int run(int argc, char** argv, const Replies& replies);

}  // namespace quillet
