// tabbatch: converts every census piece in a folder tree with tabulon, one
// converter process per piece and as many at once as there are processors.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "batch.h"
#include "console_io.h"
#include "conventions.h"
#include "display.h"
#include "options.h"
#include "platform.h"
#include "spawn.h"
#include "twrapper.h"

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* converter_name = "tabulon.exe";
#else
constexpr const char* converter_name = "tabulon";
#endif

// At most this many converters at once (also the most a Windows wait takes).
constexpr unsigned max_jobs = 64;

constexpr char jobs_letter = 'j';  // -jN: N converters at once

constexpr char tsv_letter = 't';   // -t: every piece's findings in one findings file

void usage()
{
    console("Usage: tabbatch [-jN] [-a] [-c|-d] [-q|-v] [-r] [-t] <folder or piece>\n"
            "\tconverts every .csv file in the folder and the folders below it (or the one piece)\n"
            "\twith tabulon, N at once (default: one per processor); the switches a, c, d, q, v and r\n"
            "\tare tabulon's, and without a, c or d each piece's layout is found from its first rows;\n"
            "\t-t writes the findings of every piece into tabbatch-findings.tsv in the folder\n"
            "\t(beside the piece)\n");
}

// The converter beside this program, as the package installs them.
fs::path converter_path(const char* argv0)
{
    fs::path self = platform::running_program_path();
    if (self.empty() && argv0)
        self = argv0;
    return self.parent_path() / converter_name;
}

// -j4 or -j 4; false for anything that is not a count from 1 up.
bool read_jobs(int argc, char** argv, int& i, unsigned& jobs)
{
    std::string count = std::string(argv[i]).substr(2);
    if (count.empty() && i + 1 < argc)
        count = argv[++i];
    char* end = nullptr;
    const long value = std::strtol(count.c_str(), &end, 10);
    if (count.empty() || *end != '\0' || value < 1)
        return false;
    jobs = static_cast<unsigned>(std::min<long>(value, max_jobs));
    return true;
}

// Reads the command line into settings. False when it names no folder (or
// two) or holds a switch that is not ours; the usage text then says what is.
bool options(int argc, char** argv, tabbatch::Settings& settings)
{
    tabulon::set_default_switches(settings.run);
    int folders = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char letter = switch_letter::of(arg);
        if (!platform::is_switch(arg)) {
            if (++folders > 1)
                break;
            settings.root = arg;
        } else if (switch_letter::folded(letter) == tsv_letter) {
            settings.tsv = true;
        } else if (switch_letter::folded(letter) == jobs_letter) {
            if (!read_jobs(argc, argv, i, settings.jobs)) {
                console("Bad count of converters %s\n", arg);
                return false;
            }
        } else if (const auto effect = tabulon::apply_switch(letter, settings.run);
                   effect == tabulon::SwitchEffect::applied) {
            settings.switches.push_back(arg);
            settings.layout_given = settings.layout_given || tabulon::is_layout_letter(letter);
        } else {
            if (effect == tabulon::SwitchEffect::unknown)
                console("Unknown option %s\n", arg);
            usage();
            return false;
        }
    }
    if (folders != 1)
        usage();
    return folders == 1;
}

}  // namespace

int program::_main(int argc, char** argv)
{
    tabbatch::Settings settings;
    settings.jobs = std::min(spawn::processors(), max_jobs);
    if (!options(argc, argv, settings))
        return exit_status::no_file_name;
    std::error_code error;
    if (!fs::is_directory(settings.root, error) && !fs::is_regular_file(settings.root, error)) {
        console("Not a folder or a piece: %s\n", argv[argc - 1]);
        return exit_status::no_file_name;
    }
    const fs::path converter = converter_path(argv[0]);
    if (!fs::exists(converter, error)) {
        console("The converter is not beside tabbatch: %s is missing\n", tabbatch::printable(converter));
        return exit_status::fatal;
    }
    return tabbatch::run(settings, converter, stdout, stderr);
}
