// tabbatch: converts every census piece in a folder tree with tabulon, one
// converter process per piece and as many at once as there are processors.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "batch.h"
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

void usage()
{
    std::fputs("Usage: tabbatch [-jN] [-a] [-c|-d] [-q|-v] [-r] <folder>\n"
               "\tconverts every .csv file in the folder and the folders below it with tabulon\n"
               "\t(the switches a, c, d, q, v and r are tabulon's), N at once (default: one per processor)\n",
               stderr);
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

}  // namespace

int program::_main(int argc, char** argv)
{
    tabbatch::Settings settings;
    settings.jobs = std::min(spawn::processors(), max_jobs);
    bool have_root = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!platform::is_switch(arg)) {
            if (have_root) {
                usage();
                return tabbatch::exit_status::usage;
            }
            settings.root = arg;
            have_root = true;
            continue;
        }
        const char letter = arg.size() > 1 ? arg[1] : '\0';
        if (letter == 'j' || letter == 'J') {
            if (!read_jobs(argc, argv, i, settings.jobs)) {
                std::fprintf(stderr, "Bad count of converters %s\n", arg.c_str());
                return tabbatch::exit_status::usage;
            }
        } else if (std::string("abcdqvrABCDQVR").find(letter) != std::string::npos && letter != '\0') {
            settings.switches.push_back(arg);
        } else {
            if (letter != 'h' && letter != 'H' && letter != '?')
                std::fprintf(stderr, "Unknown option %s\n", arg.c_str());
            usage();
            return tabbatch::exit_status::usage;
        }
    }
    if (!have_root) {
        usage();
        return tabbatch::exit_status::usage;
    }
    std::error_code error;
    if (!fs::is_directory(settings.root, error)) {
        std::fprintf(stderr, "Not a folder: %s\n", argv[argc - 1]);
        return tabbatch::exit_status::usage;
    }
    const fs::path converter = converter_path(argv[0]);
    if (!fs::exists(converter, error)) {
        std::fprintf(stderr, "The converter is not beside tabbatch: %s is missing\n",
                     reinterpret_cast<const char*>(converter.u8string().c_str()));
        return tabbatch::exit_status::not_converted;
    }
    return tabbatch::run(settings, converter, stdout, stderr);
}
