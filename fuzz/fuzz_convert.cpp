// The whole converter, in-process, on an arbitrary spreadsheet under each
// switch set.
//
// Input: byte 0 picks the switches (record length, quiet/verbose, layout,
// relationship checking), byte 1 the file name (and so the census); the rest
// is the CSV file. Properties:
//   - the status is 0, 4, 8 or 12; the input file is never changed; every file
//     the run opened is closed again;
//   - on 0, 4 and 8 the output is exactly records x rlen bytes, records being
//     the count of the listing's "Output %d records" line; the Error lines of
//     the listing number the errors, the Warning lines the warnings of the
//     console summary (none with -q); the status is 8 with errors, else 4
//     with warnings, else 0; no Fatal line;
//   - on 12 no output file is left behind and the console shows a Fatal line.
#include <dirent.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "converter.h"
#include "fuzz_support.h"

namespace {

struct Census {
    const char* input;       // the file name as typed
    const char* normalised;  // the base name of the output
};

constexpr Census censuses[] = {
    {"RG110123.CSV", "rg110123"},   // 1881, English
    {"HO107123.CSV", "ho107123"},   // 1841, English: book numbers
    {"RS8110456.csv", "rs811456"},  // 1881, Scottish
    {"RG120045.CSV", "rg120045"},   // 1891: the county and relationship tables
};

const char* const output_extensions[] = {"dat", "val", "vld"};

std::string scratch_dir;

std::string copy_table(const char* name)
{
    bool exists = false;
    const std::string bytes = fuzz::read_file(std::string(MERROWBY_EXAMPLES_DIR) + "/" + name, exists);
    FUZZ_CHECK(exists, std::string("missing example table ") + name);
    FUZZ_CHECK(fuzz::write_file(scratch_dir + "/" + name, bytes), scratch_dir);
    return bytes;
}

void make_scratch_dir()
{
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/merrowby-fuzz-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    FUZZ_CHECK(mkdtemp(buf.data()) != nullptr, pattern);
    scratch_dir = buf.data();
    copy_table("CHAP1891.TXT");
    copy_table("relcodes.txt");
}

void remove_scratch_dir()
{
    for (const char* name : {"CHAP1891.TXT", "relcodes.txt"})
        std::remove((scratch_dir + "/" + name).c_str());
    rmdir(scratch_dir.c_str());
}

int open_descriptors()
{
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return -1;
    int count = 0;
    while (readdir(dir))
        ++count;
    closedir(dir);
    return count;
}

// The console summary "\n %d errors[, %d warnings]. see <listing>\n".
bool parse_summary(const std::string& console, bool quiet, int& errors, int& warnings)
{
    const std::size_t at = console.rfind("\n ");
    if (at == std::string::npos)
        return false;
    const std::string tail = console.substr(at);
    int used = 0;
    warnings = 0;
    if (quiet) {
        if (std::sscanf(tail.c_str(), "\n %d errors. see %n", &errors, &used) != 1 || used == 0)
            return false;
    } else {
        if (std::sscanf(tail.c_str(), "\n %d errors, %d warnings. see %n", &errors, &warnings, &used) != 2 ||
            used == 0)
            return false;
    }
    return tail.back() == '\n';
}

// The count of the listing's "Output %d records, ..." line; -1 when missing.
long long listed_records(const std::string& listing)
{
    const std::string key = "\nOutput ";
    std::size_t at = listing.find(key);
    while (at != std::string::npos) {
        long long records = 0;
        int used = 0;
        const std::string rest = listing.substr(at, 64);
        if (std::sscanf(rest.c_str(), "\nOutput %lld records,%n", &records, &used) == 1 && used > 0)
            return records;
        at = listing.find(key, at + 1);
    }
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    make_scratch_dir();
    std::atexit(remove_scratch_dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t switches = data[0];
    const Census& census = censuses[data[1] & 3];
    const std::string_view csv(reinterpret_cast<const char*>(data) + 2, size - 2);

    std::vector<std::string> args = {scratch_dir + "/tabulon"};
    int rlen = 256;
    switch (switches & 3) {
    case 1: args.push_back("-c"); rlen = 276; break;
    case 2: args.push_back("-d"); rlen = 299; break;
    default: break;
    }
    bool quiet = false;
    switch ((switches >> 2) & 3) {
    case 1: args.push_back("-q"); quiet = true; break;
    case 2: args.push_back("-v"); break;
    case 3: args.push_back("-v"); args.push_back("-q"); quiet = true; break;
    default: break;
    }
    if (switches & 0x10)
        args.push_back("-a");
    if (switches & 0x20)
        args.push_back("-r");
    const std::string input = scratch_dir + "/" + census.input;
    args.push_back(input);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::string typed_base = census.input;
    typed_base.resize(typed_base.rfind('.'));
    const std::string listing_path = scratch_dir + "/" + typed_base + ".erc";
    const std::string output_path = scratch_dir + "/" + census.normalised + "." +
                                    output_extensions[rlen == 256 ? 0 : rlen == 276 ? 1 : 2];

    FUZZ_CHECK(fuzz::write_file(input, csv), input);
    const int descriptors = open_descriptors();
    int status;
    std::string console;
    {
        fuzz::StderrCapture capture;
        status = tabulon::convert(static_cast<int>(args.size()), argv.data());
        console = capture.text();
    }
    bool exists = false;
    const std::string listing = fuzz::read_file(listing_path, exists);
    bool output_exists = false;
    const std::string output = fuzz::read_file(output_path, output_exists);
    bool input_exists = false;
    const std::string input_after = fuzz::read_file(input, input_exists);

    std::string where = "switches";
    for (std::size_t i = 1; i + 1 < args.size(); ++i)
        where += " " + args[i];
    where += " file " + std::string(census.input) + " status " + std::to_string(status) + "\nlisting <" +
             fuzz::escaped(listing, 2000) + ">\nconsole tail <" +
             fuzz::escaped(console.substr(console.size() > 400 ? console.size() - 400 : 0)) + ">";

    if (std::getenv("FUZZ_SHOW")) {
        // For looking at single inputs: fuzz_convert file... with FUZZ_SHOW=1.
        const std::string shown = "status " + std::to_string(status) + ", " + std::to_string(output.size()) +
                                  " output bytes\n" + listing + "\n";
        std::fwrite(shown.data(), 1, shown.size(), stderr);
    }
    FUZZ_CHECK(status == 0 || status == 4 || status == 8 || status == 12, where);
    FUZZ_CHECK(input_exists && input_after == csv, where);
    FUZZ_CHECK(exists, "no listing: " + where);
    FUZZ_CHECK(open_descriptors() == descriptors, "a file was left open: " + where);
    for (const char* ext : output_extensions) {
        const std::string other = scratch_dir + "/" + census.normalised + "." + ext;
        if (other != output_path)
            FUZZ_CHECK(access(other.c_str(), F_OK) != 0, "wrong output file " + other + ": " + where);
    }

    if (status == 12) {
        FUZZ_CHECK(!output_exists, "a Fatal run left its output: " + where);
        FUZZ_CHECK(fuzz::count_lines_starting(console, "Fatal") > 0, where);
    } else {
        FUZZ_CHECK(output_exists, "no output: " + where);
        FUZZ_CHECK(output.size() % rlen == 0, "output of " + std::to_string(output.size()) + " bytes: " + where);
        const long long records = listed_records(listing);
        FUZZ_CHECK(records >= 0, "no Output line: " + where);
        FUZZ_CHECK(static_cast<long long>(output.size()) == records * rlen,
                   std::to_string(output.size()) + " bytes for " + std::to_string(records) + " records: " + where);
        int errors = -1, warnings = -1;
        FUZZ_CHECK(parse_summary(console, quiet, errors, warnings), "no summary: " + where);
        const int error_lines = fuzz::count_lines_starting(listing, "Error:");
        const int warning_lines = fuzz::count_lines_starting(listing, "Warning:");
        FUZZ_CHECK(error_lines == errors, std::to_string(error_lines) + " Error lines, " + std::to_string(errors) +
                                              " errors: " + where);
        FUZZ_CHECK(warning_lines == warnings, std::to_string(warning_lines) + " Warning lines, " +
                                                  std::to_string(warnings) + " warnings: " + where);
        if (quiet)
            FUZZ_CHECK(warning_lines == 0, where);
        const int expected_status = errors > 0 ? 8 : warnings > 0 ? 4 : 0;
        FUZZ_CHECK(status == expected_status, where);
        FUZZ_CHECK(fuzz::count_lines_starting(listing, "Fatal") == 0, where);
    }

    std::remove(listing_path.c_str());
    std::remove(output_path.c_str());
    std::remove(input.c_str());
    return 0;
}
