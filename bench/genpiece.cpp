// genpiece: writes a large, realistic census piece for benchmarks and smoke runs.
//
//   genpiece [-a] [-c|-d] [-n ROWS] [-e N] [-s SEED] FILE.CSV
//
// The file name sets the census year and whether the piece is Scottish, as it
// does for tabulon. -a, -c and -d choose the layout and record length as they
// do for tabulon; -n the number of data rows (default 1000); -e about one slip
// in N rows (default 0: a clean piece); -s the seed (default 1). What was
// written goes to standard output: the row, household and byte counts, and one
// line per kind of slip, "slip KIND COUNT PATTERN", where PATTERN is an
// extended regular expression for the listing line that reports it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "census.h"
#include "file.h"
#include "paths.h"
#include "piecegen.h"

namespace {

int usage()
{
    std::fputs("usage: genpiece [-a] [-c|-d] [-n ROWS] [-e N] [-s SEED] FILE.CSV\n", stderr);
    return 2;
}

bool number_arg(int argc, char** argv, int& i, long long& value)
{
    if (i + 1 >= argc)
        return false;
    char* end = nullptr;
    value = std::strtoll(argv[++i], &end, 10);
    return *end == '\0' && value >= 0;
}

// The census of the file name, read as the converter reads it.
bool census_of(const std::string& path, piecegen::Shape& shape)
{
    std::string base = paths::splitpath(path).base;
    shape.piece_label = base;
    for (char& c : shape.piece_label)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    tabulon::Run run;
    Listing quiet_listing;
    if (tabulon::decode_census(base, run, quiet_listing) != 0)
        return false;
    shape.year = run.year;
    shape.scottish = run.sct;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    piecegen::Shape shape;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        long long value = 0;
        if (arg == "-a") {
            shape.all_layout = true;
        } else if (arg == "-c") {
            shape.rlen = 276;
        } else if (arg == "-d") {
            shape.rlen = 299;
        } else if (arg == "-n" || arg == "-e" || arg == "-s") {
            if (!number_arg(argc, argv, i, value))
                return usage();
            if (arg == "-n")
                shape.rows = value;
            else if (arg == "-e")
                shape.slip_every = static_cast<int>(value);
            else
                shape.seed = static_cast<std::uint64_t>(value);
        } else if (path.empty() && !arg.empty() && arg[0] != '-') {
            path = arg;
        } else {
            return usage();
        }
    }
    if (path.empty())
        return usage();
    if (!census_of(path, shape)) {
        std::fprintf(stderr, "genpiece: no census year in the file name %s\n", path.c_str());
        return 2;
    }
    File out(std::fopen(path.c_str(), "wb"));
    if (!out) {
        std::perror(path.c_str());
        return 1;
    }
    const piecegen::Report report = piecegen::generate(shape, out.get());
    if (std::fflush(out.get()) != 0) {
        std::perror(path.c_str());
        return 1;
    }
    std::printf("rows %lld\nhouseholds %lld\nbytes %lld\n", report.rows, report.households, report.bytes);
    for (const piecegen::SlipCount& slip : report.slips)
        std::printf("slip %s %lld %s\n", slip.kind.c_str(), slip.count, slip.finding.c_str());
    return 0;
}
