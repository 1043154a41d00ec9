// The converter when its files misbehave or its input is hostile: the listing
// cannot be written, the input cannot be opened or read, the output device is
// full, a 50 MB line, a file of NUL bytes, a spreadsheet saved as UTF-8. In
// every case: a clear message, a defined exit status, the input unchanged, and
// no data file left that could pass for a good one.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "harness.h"
#include "sscens_titles.h"

namespace {

namespace fs = std::filesystem;
using e2e::Target;

const std::string& titles = e2e::sscens_titles;

const std::string header_rows = "RG11 piece 123,,\r\n" + titles + "Piece 123 - fault tests,,\r\n";

const std::string piece_csv =
    header_rows +
    "Pendlecombe,2,17,3,11,,Quarry Row,,Harbottle,Josiah,,Head,M,M,52,,Stone Mason,,,DEV,Pendlecombe,,,,\r\n"
    ",,,,,,,,Harbottle,Keziah,,Wife,M,F,49,,,,,DEV,Ilsworth,,,,\r\n"
    ",,,,12,,Quarry Row,,Vosper,Amos,,Head,W,M,68,,Carter,,,CON,Bodwen,,,,\r\n";

bool running_as_root() { return geteuid() == 0; }

// The data files (any record length) the run left in dir.
std::vector<std::string> data_files(const fs::path& dir)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".dat" || ext == ".val" || ext == ".vld")
            found.push_back(entry.path().filename().string());
    }
    return found;
}

int count_lines_starting(const std::string& text, const std::string& prefix)
{
    int count = 0;
    for (std::size_t start = 0; start < text.size();) {
        if (text.compare(start, prefix.size(), prefix) == 0)
            ++count;
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos)
            break;
        start = lf + 1;
    }
    return count;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The console summary's counts, "\n %d errors, %d warnings. see ..."; false when missing.
bool summary_counts(const std::string& console, int& errors, int& warnings)
{
    const std::size_t at = console.rfind(" errors, ");
    const std::size_t line = at == std::string::npos ? at : console.rfind('\n', at);
    if (line == std::string::npos)
        return false;
    return std::sscanf(console.c_str() + line, "\n %d errors, %d warnings. see ", &errors, &warnings) == 2;
}

// The count of "Output %d records" on the console; -1 when missing.
long long records_reported(const std::string& console)
{
    const std::string key = "Output ";
    for (std::size_t at = console.find(key); at != std::string::npos; at = console.find(key, at + 1)) {
        long long records = 0;
        int used = 0;
        if (std::sscanf(console.c_str() + at, "Output %lld records%n", &records, &used) == 1 && used > 0)
            return records;
    }
    return -1;
}

// A finished run (status 0, 4 or 8) whose output, listing and console agree.
void expect_consistent_run(const e2e::Result& result, const std::string& listing, const std::string& output,
                           std::size_t rlen)
{
    int errors = -1, warnings = -1;
    ASSERT_TRUE(summary_counts(result.err, errors, warnings)) << result.err.substr(0, 2000);
    EXPECT_EQ(count_lines_starting(listing, "Error:"), errors);
    EXPECT_EQ(count_lines_starting(listing, "Warning:"), warnings);
    EXPECT_EQ(count_lines_starting(listing, "Fatal"), 0);
    EXPECT_EQ(result.status, errors > 0 ? 8 : warnings > 0 ? 4 : 0);
    const long long records = records_reported(result.err);
    EXPECT_GE(records, 0);
    EXPECT_EQ(output.size() % rlen, 0u);
    EXPECT_EQ(static_cast<long long>(output.size()), records * static_cast<long long>(rlen));
}

// --- the listing cannot be written ---

TEST(FaultTabulon, ListingNameTakenByADirectory)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", piece_csv);
    fs::create_directory(dir / "RG110123.erc");

    const e2e::Result r = e2e::run("tabulon", {target.native(dir / "RG110123.CSV")});
    EXPECT_EQ(r.status, 12);
    EXPECT_TRUE(contains(r.err, target.text("Fatal: Messages file (" + target.native(dir / "RG110123.erc") +
                                            ") failed to open\nFatal: ")))
        << r.err;
    EXPECT_EQ(e2e::read_file(dir / "RG110123.CSV"), piece_csv);
    EXPECT_TRUE(fs::is_directory(dir / "RG110123.erc"));
    EXPECT_TRUE(fs::is_empty(dir / "RG110123.erc"));
    EXPECT_TRUE(data_files(dir.path()).empty());
}

TEST(FaultTabulon, ListingDirectoryIsARegularFile)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    e2e::write_file(dir / "notadir", "a plain file\n");
    const fs::path input = dir / "notadir" / "RG110123.CSV";

    const e2e::Result r = e2e::run("tabulon", {target.native(input)});
    EXPECT_EQ(r.status, 12);
    EXPECT_TRUE(contains(r.err, target.text("Fatal: Messages file (" +
                                            target.native(dir / "notadir" / "RG110123.erc") +
                                            ") failed to open\nFatal: ")))
        << r.err;
    EXPECT_EQ(e2e::read_file(dir / "notadir"), "a plain file\n");
}

TEST(FaultTabulon, ListingDirectoryReadOnly)
{
    const Target& target = Target::get();
    if (target.windows)
        GTEST_SKIP() << "POSIX permissions";
    if (running_as_root())
        GTEST_SKIP() << "root writes into a read-only directory; see ListingNameTakenByADirectory";
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", piece_csv);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);

    const e2e::Result r = e2e::run("tabulon", {target.native(dir / "RG110123.CSV")});
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(r.status, 12);
    EXPECT_TRUE(contains(r.err, "Fatal: Messages file (")) << r.err;
    EXPECT_EQ(e2e::read_file(dir / "RG110123.CSV"), piece_csv);
    EXPECT_FALSE(e2e::exists(dir / "RG110123.erc"));
    EXPECT_TRUE(data_files(dir.path()).empty());
}

// --- the input cannot be opened or read ---

TEST(FaultTabulon, InputIsADirectory)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    fs::create_directory(dir / "RG110123.CSV");
    const std::string input = target.native(dir / "RG110123.CSV");

    const e2e::Result r = e2e::run("tabulon", {input});
    EXPECT_EQ(r.status, 12);
    const std::string fatal = target.text("Fatal: Input file (" + input + ") failed to open\n");
    EXPECT_TRUE(contains(r.err, fatal + target.text("Fatal: "))) << r.err;
    EXPECT_TRUE(contains(e2e::read_file(dir / "RG110123.erc"), fatal));
    EXPECT_TRUE(fs::is_empty(dir / "RG110123.CSV"));
    EXPECT_TRUE(data_files(dir.path()).empty());
}

TEST(FaultTabulon, InputUnreadableByPermissions)
{
    const Target& target = Target::get();
    if (target.windows)
        GTEST_SKIP() << "POSIX permissions";
    if (running_as_root())
        GTEST_SKIP() << "root reads a mode-000 file; see InputIsASymlinkLoop and InputReadFails";
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", piece_csv);
    fs::permissions(dir / "RG110123.CSV", fs::perms::none);

    const e2e::Result r = e2e::run("tabulon", {target.native(dir / "RG110123.CSV")});
    fs::permissions(dir / "RG110123.CSV", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(r.status, 12);
    EXPECT_TRUE(contains(r.err, "Fatal: Input file (" + target.native(dir / "RG110123.CSV") + ") failed to open\n"))
        << r.err;
    EXPECT_EQ(e2e::read_file(dir / "RG110123.CSV"), piece_csv);
    EXPECT_TRUE(data_files(dir.path()).empty());
}

// A link to itself cannot be opened, whoever runs the program.
TEST(FaultTabulon, InputIsASymlinkLoop)
{
    const Target& target = Target::get();
    if (target.windows)
        GTEST_SKIP() << "POSIX symbolic links";
    e2e::TempDir dir;
    fs::create_symlink("RG110123.CSV", dir / "RG110123.CSV");
    const std::string input = target.native(dir / "RG110123.CSV");

    const e2e::Result r = e2e::run("tabulon", {input});
    EXPECT_EQ(r.status, 12);
    EXPECT_TRUE(contains(r.err, "Fatal: Input file (" + input + ") failed to open\nFatal: ")) << r.err;
    EXPECT_TRUE(fs::is_symlink(dir / "RG110123.CSV"));
    EXPECT_TRUE(data_files(dir.path()).empty());
}

// /proc/self/mem opens for reading but its first read fails (nothing is mapped
// at address 0): the read error path, in the header rows and in the row loop.
TEST(FaultTabulon, InputReadFails)
{
    const Target& target = Target::get();
    if (target.windows)
        GTEST_SKIP() << "Linux /proc";
    for (const bool all_layout : {false, true}) {
        SCOPED_TRACE(all_layout ? "ALL layout" : "SS-CENS layout");
        e2e::TempDir dir;
        fs::create_symlink("/proc/self/mem", dir / "RG110123.CSV");
        const std::string input = target.native(dir / "RG110123.CSV");
        std::vector<std::string> args = {input};
        if (all_layout)
            args.insert(args.begin(), "-a");

        const e2e::Result r = e2e::run("tabulon", args);
        EXPECT_EQ(r.status, 12);
        const std::string fatal = "Fatal: Input file (" + input + ") read failed\n";
        EXPECT_TRUE(contains(r.err, fatal + "Fatal: ")) << r.err;
        EXPECT_TRUE(contains(e2e::read_file(dir / "RG110123.erc"), fatal));
        EXPECT_FALSE(contains(r.err, " errors")) << "no summary after a Fatal";
        EXPECT_TRUE(data_files(dir.path()).empty());
    }
}

// --- the output cannot be written ---

TEST(FaultTabulon, OutputIsALinkToDevFull)
{
    const Target& target = Target::get();
    if (target.windows)
        GTEST_SKIP() << "Linux /dev/full";
    const std::string rows_276 =
        "Pendlecombe,Ilsworth,2,17,3,11,,Quarry Row,,Harbottle,Josiah,,Head,M,M,52,,Stone Mason,,,DEV,"
        "Pendlecombe,,,,";
    const std::string titles_276 = "Civil Parish,District," + titles.substr(13);
    const struct {
        std::string rlen_switch, ext, csv;
    } cases[] = {
        {"", "dat", piece_csv},
        {"-c", "val", "RG11 piece 123,,\r\n" + titles_276 + "Piece 123,,\r\n" + rows_276 + "\r\n"},
        {"-d", "vld",
         "RG11 piece 123,,\r\n" + titles_276.substr(0, titles_276.size() - 2) +
             ",Alt Chapman Code,Alt Birth Place\r\nPiece 123,,\r\n" + rows_276 + ",,\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ext);
        const std::string& ext = c.ext;
        const std::string& csv = c.csv;
        const char* rlen_switch = c.rlen_switch.c_str();
        e2e::TempDir dir;
        e2e::write_file(dir / "RG110123.CSV", csv);
        fs::create_symlink("/dev/full", dir / ("rg110123." + ext));
        const std::string output = target.native(dir / ("rg110123." + ext));
        std::vector<std::string> args = {target.native(dir / "RG110123.CSV")};
        if (*rlen_switch)
            args.insert(args.begin(), rlen_switch);

        const e2e::Result r = e2e::run("tabulon", args);
        EXPECT_EQ(r.status, 12) << r.err;
        const std::string fatal = "Fatal: Output file (" + output + ") write failed\n";
        EXPECT_TRUE(contains(r.err, fatal + "Fatal: ")) << r.err;
        EXPECT_TRUE(contains(e2e::read_file(dir / "RG110123.erc"), fatal));
        EXPECT_FALSE(contains(r.err, " 0 errors")) << "a full disk must not end in a clean summary";
        EXPECT_EQ(e2e::read_file(dir / "RG110123.CSV"), csv);
        // A device has nothing to protect or replace: it was written directly, and the link stays.
        EXPECT_EQ(fs::read_symlink(dir / ("rg110123." + ext)), "/dev/full");
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
}

// --- hostile input ---

TEST(FaultTabulon, FiftyMegabyteSingleLine)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    const std::size_t line_bytes = 50u * 1024 * 1024;
    std::string csv = header_rows;
    csv.reserve(csv.size() + line_bytes + 2);
    for (std::size_t i = 0; i < line_bytes; ++i)
        csv += static_cast<char>('a' + i % 26);
    csv += "\r\n";
    e2e::write_file(dir / "RG110123.CSV", csv);

    e2e::Invocation run;
    run.program = "tabulon";
    run.args = {target.native(dir / "RG110123.CSV")};
    run.timeout = std::chrono::seconds(180);
    const e2e::Result r = e2e::run(run);

    ASSERT_EQ(r.status, 8) << r.err.substr(r.err.size() > 2000 ? r.err.size() - 2000 : 0);
    const std::string listing = e2e::read_file(dir / "RG110123.erc");
    const std::string output = e2e::read_file(dir / "rg110123.dat");
    expect_consistent_run(r, listing, output, 256);
    // One row, whose one cell is too long and given whole in the message; the
    // row's empty ED, folio, page and schedule then draw the four initial-value errors.
    EXPECT_EQ(records_reported(r.err), 1);
    EXPECT_EQ(count_lines_starting(listing, "Error: "), 5);
    EXPECT_EQ(count_lines_starting(listing, "Error: row 4, field too long"), 1);
    EXPECT_TRUE(contains(listing, "Error: row 4, field too long <" + csv.substr(header_rows.size(), line_bytes) +
                                      ">, truncated by " + std::to_string(line_bytes - 20) + " to 20 characters"));
    EXPECT_EQ(e2e::read_file(dir / "RG110123.CSV"), csv);
}

TEST(FaultTabulon, OnlyNulBytes)
{
    const Target& target = Target::get();
    const std::string csv(64 * 1024, '\0');

    {
        SCOPED_TRACE("SS-CENS layout: row 1 runs into the end of the input");
        e2e::TempDir dir;
        e2e::write_file(dir / "RG110123.CSV", csv);
        const e2e::Result r = e2e::run("tabulon", {target.native(dir / "RG110123.CSV")});
        EXPECT_EQ(r.status, 12);
        EXPECT_EQ(r.err, target.text("Fatal: No data in file, it appears to be empty\n"));
        EXPECT_TRUE(contains(e2e::read_file(dir / "RG110123.erc"),
                             target.text("Fatal: row 1, No data in file, it appears to be empty\n")));
        EXPECT_EQ(e2e::read_file(dir / "RG110123.CSV"), csv);
        EXPECT_TRUE(data_files(dir.path()).empty());
    }
    {
        SCOPED_TRACE("ALL layout: one row of invalid characters");
        e2e::TempDir dir;
        e2e::write_file(dir / "RG110123.CSV", csv);
        const e2e::Result r = e2e::run("tabulon", {"-a", target.native(dir / "RG110123.CSV")});
        EXPECT_EQ(r.status, 8);
        const std::string listing = e2e::read_file(dir / "RG110123.erc");
        const std::string output = e2e::read_file(dir / "rg110123.dat");
        expect_consistent_run(r, listing, output, 256);
        // Every NUL reported, itself between the brackets.
        EXPECT_EQ(records_reported(r.err), 1);
        EXPECT_TRUE(contains(listing, target.text(std::string("Error: row 1, field contains an invalid character <") +
                                                  '\0' + ">\n")));
        EXPECT_EQ(count_lines_starting(listing, "Error: row 1, field contains an invalid character <"), 64 * 1024);
        EXPECT_EQ(e2e::read_file(dir / "RG110123.CSV"), csv);
    }
}

// One piece saved both ways a spreadsheet program offers: "CSV UTF-8" (with a
// byte-order mark) and Windows-1252. Each {token} stands for a character:
// accented letters, characters of Windows-1252's 0x80 to 0x9F range (invalid
// in a cell either way), and three things Windows-1252 has no byte for (two
// characters and a stray UTF-8 byte), which the UTF-8 save turns into 0x81.
std::string saved_as(bool utf8)
{
    static const struct {
        const char* token;
        const char* utf8;
        const char* cp1252;
    } characters[] = {
        {"{E'}", "\xC3\x89", "\xC9"},    {"{e`}", "\xC3\xA8", "\xE8"},     {"{e'}", "\xC3\xA9", "\xE9"},
        {"{e:}", "\xC3\xAB", "\xEB"},    {"{AE}", "\xC3\x86", "\xC6"},     {"{lq}", "\xE2\x80\x98", "\x91"},
        {"{rq}", "\xE2\x80\x99", "\x92"}, {"{S^}", "\xC5\xA0", "\x8A"},    {"{oe}", "\xC5\x93", "\x9C"},
        {"{->}", "\xE2\x86\x92", "\x81"}, {"{o-}", "\xC5\x8D", "\x81"},     {"{bad}", "\x80", "\x81"},
    };
    std::string text =
        header_rows +
        "Pendlecombe,2,17,3,11,,Rue des {E'}coles,,Lef{e`}vre,Ren{e'}e,,Head,M,F,46,,Lace Maker,,,DEV,Pendlecombe,,,,"
        "Caf{e'} {lq}Le Pr{e'}{rq}\r\n"
        ",,,,,,,,Lef{e`}vre,Zo{e:},,Dau,U,F,12,,Scholar,,,DEV,Pendlecombe,,,,{S^}{oe}ur {->} Paris\r\n"
        ",,,,12,,Quarry Row,,Vosper,{AE}thelred,,Head,W,M,68,,Carter,,,CON,K{o-}be{bad},,,,\r\n";
    for (const auto& c : characters)
        for (std::size_t at; (at = text.find(c.token)) != std::string::npos;)
            text.replace(at, std::string(c.token).size(), utf8 ? c.utf8 : c.cp1252);
    return utf8 ? "\xEF\xBB\xBF" + text : text;
}

// The UTF-8 save converts exactly as the Windows-1252 one: same records, same
// listing, with one invalid-character Error for each of the three things
// Windows-1252 cannot hold.
TEST(FaultTabulon, PieceSavedAsUtf8ConvertsAsWindows1252)
{
    const Target& target = Target::get();
    e2e::TempDir utf8_dir, cp1252_dir;
    e2e::write_file(utf8_dir / "RG110123.CSV", saved_as(true));
    e2e::write_file(cp1252_dir / "RG110123.CSV", saved_as(false));
    const e2e::Result utf8 = e2e::run("tabulon", {"RG110123.CSV"}, "", utf8_dir.path());
    const e2e::Result cp1252 = e2e::run("tabulon", {"RG110123.CSV"}, "", cp1252_dir.path());

    const std::string listing = e2e::mask_date(e2e::read_file(utf8_dir / "RG110123.erc"));
    EXPECT_EQ(utf8.status, 8);
    EXPECT_EQ(utf8.err, cp1252.err);
    EXPECT_EQ(listing, e2e::mask_date(e2e::read_file(cp1252_dir / "RG110123.erc")));
    EXPECT_EQ(e2e::read_file(utf8_dir / "rg110123.dat"), e2e::read_file(cp1252_dir / "rg110123.dat"));
    expect_consistent_run(utf8, listing, e2e::read_file(utf8_dir / "rg110123.dat"), 256);
    EXPECT_EQ(records_reported(utf8.err), 3);

    EXPECT_FALSE(contains(listing, "Cell A1")) << "the mark is not part of cell A1";
    const std::string invalid = "field contains an invalid character <";
    EXPECT_EQ(count_lines_starting(listing, "Error: row 5, " + invalid + "\x81>"), 1);
    EXPECT_EQ(count_lines_starting(listing, "Error: row 6, " + invalid + "\x81>"), 2);
    for (const char* byte : {"\x91", "\x92"})
        EXPECT_TRUE(contains(listing, target.text("Error: row 4, " + invalid + byte + ">\n"))) << byte;
    EXPECT_EQ(count_lines_starting(listing, "Error: "), 7);
    // Accented capitals and small letters are valid characters, kept in the record.
    EXPECT_TRUE(contains(e2e::read_file(utf8_dir / "rg110123.dat"), "\xC6thelred"));
}

}  // namespace
