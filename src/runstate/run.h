// Settings and census identity of one converter run.
#pragma once

#include "version.h"

namespace tabulon {

// The version the converter writes in its usage and its listing header.
inline constexpr const char* version = merrowby::version;

struct Run {
    // Switches.
    bool brief = true;   // SS-CENS layout (three header rows); false: the ALL layout
    int rlen = 256;      // output record length: 256, 276 or 299
    bool quiet = false;
    bool verbose = false;
    bool rcheck = false;  // look relationships up in relcodes.txt

    // Census identity, from the file name.
    int year = 0;
    bool sct = false;  // a Scottish piece
    int ipart = 0;

    bool english_1841() const { return year == 1841 && !sct; }
};

// The converter's switches, shared by every program that reads a piece as the
// converter does: the defaults, and the effect of one switch letter
// (switch_letter::of the argument; later switches override earlier ones).
enum class SwitchEffect { applied, help, unknown };
void set_default_switches(Run& run);
SwitchEffect apply_switch(char letter, Run& run);

const char* input_format_name(const Run& run);
const char* output_format_name(const Run& run);
const char* output_extension(const Run& run);

}  // namespace tabulon
