// Settings and census identity of one converter run.
#pragma once

#include "version.h"

namespace tabulon {

// The version the converter writes in its usage and its listing header.
inline constexpr const char* version = merrowby::version;

// The output record formats IN-CENS, CHECK-CENS and VALD-REV.
enum class Format { in_cens, check_cens, vald_rev };

// What the format fixes: the record length, the name in the run description
// and the data file's extension.
struct FormatFacts {
    int rlen;
    const char* name;
    const char* extension;
};

// In the order of Format.
inline constexpr FormatFacts format_facts[] = {
    {256, "IN-CENS", "dat"},
    {276, "CHECK-CENS", "val"},
    {299, "VALD-REV", "vld"},
};

constexpr const FormatFacts& facts(Format format) { return format_facts[static_cast<int>(format)]; }

// The optional columns of the layouts and the record: the Eccl. District, and
// the alternate county code and birth place.
constexpr bool has_district(Format format) { return format != Format::in_cens; }
constexpr bool has_alternates(Format format) { return format == Format::vald_rev; }

struct Run {
    // Switches.
    bool brief = true;   // SS-CENS layout (three header rows); false: the ALL layout
    Format format = Format::in_cens;
    bool quiet = false;
    bool verbose = false;
    bool rcheck = false;  // look relationships up in relcodes.txt

    // Census identity, from the file name.
    int year = 0;
    bool sct = false;  // a Scottish piece
    int ipart = 0;

    bool english_1841() const { return year == 1841 && !sct; }

    // The output record length: 256, 276 or 299.
    int rlen() const { return facts(format).rlen; }
    bool has_district() const { return tabulon::has_district(format); }
    bool has_alternates() const { return tabulon::has_alternates(format); }
    // The SS-CENS layout of VALD-REV ends with a book column for an English 1841 piece.
    bool has_book_column() const { return has_alternates() && brief && english_1841(); }
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
