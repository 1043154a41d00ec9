// tabulon seen from outside: the whole runs that the golden cases (tests/golden)
// cannot hold as data: files around the piece (earlier listings, directories,
// paths and program locations), code tables missing or made up, the clock,
// huge and random inputs and speed, and switches after the file name.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using e2e::Target;
namespace fs = std::filesystem;

const std::string kUsage =
    "Usage (v4.11.2): tabulon [-a] [-c|-d] [-q|-v] [-h|-?] [-r] <filename.CSV>\n"
    "\ta=ALL, c=CHECKED, d=VALIDATED, q=QUIET, v=VERBOSE, h|?=HELP\n";
const std::string kSubtract =
    "Subtract 3 from row numbers in messages to get the corresponding record in the output file.\n\n";

// ---------------------------------------------------------------------------
// Record formats and the cells of one spreadsheet row

struct Format {
    int rlen;
    std::vector<std::string> switches;
    std::string ext;
    std::string name;
    int titles;  // non-blank titles wanted in header row 2
};

const Format kInCens{256, {}, "dat", "IN-CENS", 25};
const Format kCheckCens{276, {"-c"}, "val", "CHECK-CENS", 26};
const Format kValdRev{299, {"-d"}, "vld", "VALD-REV", 28};

// The cells of one data row, named as the transcriber's columns.
struct Person {
    std::string parish, district, ed, folio, page, schedule, house, address, uninhabited, surname,
        forenames, name_flag, relationship, condition, sex, age, detail_flag, occupation, employed,
        occupation_flag, county, birthplace, birthplace_flag, alt_county, alt_birthplace, disability,
        language, notes, book;
    std::string status, household, member;  // the ALL layout's own columns
};

std::string join(const std::vector<std::string>& cells)
{
    std::string row;
    for (std::size_t i = 0; i < cells.size(); ++i)
        row += (i ? "," : "") + cells[i];
    return row;
}

// The row in the SS-CENS layout (three header rows, numbering by the converter).
std::string ss_row(const Person& p, int rlen, bool with_book = false)
{
    std::vector<std::string> c{p.parish};
    if (rlen > 256)
        c.push_back(p.district);
    for (const std::string* f : {&p.ed, &p.folio, &p.page, &p.schedule, &p.house, &p.address,
                                 &p.uninhabited, &p.surname, &p.forenames, &p.name_flag,
                                 &p.relationship, &p.condition, &p.sex, &p.age, &p.detail_flag,
                                 &p.occupation, &p.employed, &p.occupation_flag, &p.county,
                                 &p.birthplace, &p.birthplace_flag})
        c.push_back(*f);
    if (rlen > 276) {
        c.push_back(p.alt_county);
        c.push_back(p.alt_birthplace);
    }
    c.push_back(p.disability);
    c.push_back(p.language);
    c.push_back(p.notes);
    if (with_book)
        c.push_back(p.book);
    return join(c);
}

// Rows ended by LF.
std::string rows(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

std::string titles(int count)
{
    std::vector<std::string> t;
    for (int i = 1; i <= count; ++i)
        t.push_back("Title " + std::to_string(i));
    return join(t);
}

std::string header(int title_count = 25, const std::string& a1 = "RG11 piece 123",
                   const std::string& b1 = "")
{
    return rows({a1 + "," + b1, titles(title_count), "Transcribed by volunteer ABC"});
}

// The people of a small piece.
Person thomas()
{
    Person p;
    p.parish = "Merrowby";
    p.district = "Thornbury St Mary";
    p.ed = "1";
    p.folio = "4";
    p.page = "1";
    p.schedule = "1";
    p.house = "3";
    p.address = "Church Lane";
    p.uninhabited = "-";
    p.surname = "ASHDOWN";
    p.forenames = "Thomas";
    p.name_flag = "-";
    p.relationship = "Head";
    p.condition = "M";
    p.sex = "M";
    p.age = "46";
    p.detail_flag = "-";
    p.occupation = "Agricultural Labourer";
    p.occupation_flag = "-";
    p.county = "SOM";
    p.birthplace = "Merrowby";
    p.birthplace_flag = "-";
    p.alt_county = "DEV";
    p.alt_birthplace = "Tiverton";
    return p;
}

// A member of the household above: location cells left for the converter to fill.
Person member(const std::string& forenames, const std::string& relationship,
              const std::string& condition, const std::string& sex, const std::string& age,
              const std::string& occupation)
{
    Person p;
    p.surname = "ASHDOWN";
    p.forenames = forenames;
    p.name_flag = "-";
    p.relationship = relationship;
    p.condition = condition;
    p.sex = sex;
    p.age = age;
    p.detail_flag = "-";
    p.occupation = occupation;
    p.occupation_flag = "-";
    p.county = "SOM";
    p.birthplace = "Cheddon";
    p.birthplace_flag = "-";
    return p;
}

// ---------------------------------------------------------------------------
// Running conversions

struct Outcome {
    e2e::Result result;
    std::string listing;  // date masked, as written (platform line ends)
    std::string data;
    bool has_data = false;
};

std::string base_of(const std::string& file_name)
{
    return file_name.substr(0, file_name.find('.'));
}

// Converts `csv` saved as `input` in a fresh directory, from that directory.
Outcome convert(const std::string& csv, std::vector<std::string> switches,
                const std::string& input = "RG110123.CSV", const std::string& output = "rg110123.dat")
{
    e2e::TempDir dir;
    e2e::write_file(dir / input, csv);
    switches.push_back(input);
    Outcome o;
    o.result = e2e::run("tabulon", switches, "", dir.path());
    o.listing = e2e::mask_date(e2e::read_file(dir / (base_of(input) + ".erc")));
    o.has_data = e2e::exists(dir / output);
    o.data = e2e::read_file(dir / output);
    return o;
}

std::string description(int year, bool all, const Format& f, const std::string& mode = "")
{
    return "Census year = " + std::to_string(year) + ", input format = " + (all ? "ALL" : "SS-CENS") +
           ", output format = " + f.name + mode + "\n\n";
}

// The whole listing of a run that got past set-up (LF line ends).
std::string listing(const std::string& input, const std::string& described,
                    const std::string& messages, int records, int highest,
                    const std::string& output, bool all = false, const std::string& before = "")
{
    return before + "Error listing for tabulon (Merrowby) v4.11.2 <DATE> converting " + input +
           "\n[When reporting program errors, be sure to send this file and the original data "
           "file]\n\n" +
           described + (all ? "" : kSubtract) + messages + "\nOutput " + std::to_string(records) +
           " records, highest household number = " + std::to_string(highest) +
           "\n\nOutput file is " + output + "\n";
}

// The console of such a run: the progress counter, then the summary. A negative
// warning count stands for the quiet switch (no warning count shown).
std::string console(int first_row, int last_row, int records, int highest, const std::string& output,
                    int errors, int warnings, const std::string& listing_path)
{
    std::string text;
    for (int n = first_row; n <= last_row; ++n)
        text += std::to_string(n) + "\r";
    text += "\nOutput " + std::to_string(records) + " records, highest household number = " +
            std::to_string(highest) + "\n\nOutput file is " + output + "\n\n " +
            std::to_string(errors) + " errors";
    if (warnings >= 0)
        text += ", " + std::to_string(warnings) + " warnings";
    return text + ". see " + listing_path + "\n";
}

std::string repeat(char c, std::size_t count)
{
    return std::string(count, c);
}

std::set<std::string> names_in(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

int count_of(const std::string& text, const std::string& word)
{
    int count = 0;
    for (std::size_t at = 0; (at = text.find(word, at)) != std::string::npos; at += word.size())
        ++count;
    return count;
}

// A household of more than 9999 members: the member number that does not fit
// its four positions is written as nines and reported for each such row.
TEST(Tabulon, MemberNumberTooLargeForTheRecord)
{
    std::string csv = header() + ss_row(thomas(), 256) + "\n";
    const std::string next = ss_row(member("Kin", "Rel", "U", "M", "5", ""), 256) + "\n";
    for (int i = 0; i < 10000; ++i)
        csv += next;
    const Outcome o = convert(csv, {"-q"});
    EXPECT_EQ(o.result.status, 8);
    EXPECT_EQ(o.listing,
              Target::get().text(listing(
                  "RG110123.CSV", description(1881, false, kInCens, ", QUIET"),
                  "Error: row 10003, household member number = 10000 too large for the output record\n"
                  "Error: row 10004, household member number = 10001 too large for the output record\n",
                  10001, 1, "rg110123.dat")));
    ASSERT_EQ(o.data.size(), 10001u * 256);
    EXPECT_EQ(o.data.substr(9998 * 256 + 5, 10), "0000019999");
    EXPECT_EQ(o.data.substr(9999 * 256 + 5, 10), "0000019999");
    EXPECT_EQ(o.data.substr(10000 * 256 + 5, 10), "0000019999");
}

// The listing's header carries the time of the run in UTC, in the fixed asctime
// form with a blank-padded day, whatever the local time zone.
TEST(Tabulon, ListingHeaderDateIsUtc)
{
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
    const char* old_zone = std::getenv("TZ");
    const std::string saved = old_zone ? old_zone : "";
    setenv("TZ", "XYZ-9", 1);  // nine hours east of UTC
    const std::time_t before = std::time(nullptr);
    e2e::run("tabulon", {"RG110123.CSV"}, "", dir.path());
    const std::time_t after = std::time(nullptr);
    if (old_zone)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");

    const std::string listed = e2e::read_file(dir / "RG110123.erc");
    // "Www Mmm dd hh:mm:ss yyyy UTC", 28 characters between the version and "converting".
    const std::string lead = "Error listing for tabulon (Merrowby) v4.11.2 ";
    ASSERT_EQ(listed.compare(0, lead.size(), lead), 0) << listed.substr(0, listed.find('\n'));
    const std::string date = listed.substr(lead.size(), 28);
    ASSERT_EQ(listed.compare(lead.size() + 28, 24, " converting RG110123.CSV"), 0)
        << listed.substr(0, listed.find('\n'));
    char day_name[4] = {}, month_name[4] = {}, zone[4] = {};
    std::tm stamp{};
    int year = 0;
    ASSERT_EQ(std::sscanf(date.c_str(), "%3s %3s %2d %2d:%2d:%2d %4d %3s", day_name, month_name,
                          &stamp.tm_mday, &stamp.tm_hour, &stamp.tm_min, &stamp.tm_sec, &year, zone),
              8)
        << date;
    EXPECT_EQ(std::string(zone), "UTC");
    EXPECT_NE(date[8], '0') << "the day of the month is padded with a blank";
    EXPECT_EQ(date[13], ':');
    EXPECT_EQ(date[16], ':');

    const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const auto month = months.find(month_name);
    ASSERT_NE(month, std::string::npos) << date;
    stamp.tm_year = year - 1900;
    stamp.tm_mon = static_cast<int>(month / 3);
    const std::time_t written = timegm(&stamp);
    EXPECT_GE(written, before - 1);
    EXPECT_LE(written, after + 1);
    const std::string days = "SunMonTueWedThuFriSat";
    EXPECT_EQ(std::string(day_name), days.substr(3 * stamp.tm_wday, 3));
}

// The program's directory is the directory part of its name as given, also the
// root itself; a program named without one looks beside its own file.
TEST(Tabulon, TablesAreLookedForBesideTheProgramAtTheRoot)
{
    if (Target::get().windows)
        GTEST_SKIP() << "argv[0] cannot be chosen under Wine";
    if (e2e::exists("/CHAP1891.TXT"))
        GTEST_SKIP() << "a county table stands in the root directory";
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
    e2e::Invocation run;
    run.program = "tabulon";
    run.argv0 = "/tabulon";
    run.args = {"RG110123.CSV"};
    run.cwd = dir.path();
    const e2e::Result r = e2e::run(run);
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(e2e::read_file(dir / "RG110123.erc")
                  .rfind("Warning: Aux file /CHAP1891.TXT failed to open, county code checking "
                         "disabled\n\nError listing",
                         0),
              0u);
}

// Files of a piece in another directory are named from the path as typed: the
// directory (a dot and percent signs in it are plain text) is kept for the
// listing and the data file, and messages give the paths whole.
TEST(Tabulon, PathsInAnotherDirectory)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    const std::string folder = "w%s%n.d";
    fs::create_directory(dir / folder);
    e2e::write_file(dir / folder / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
    const std::string input = target.native(folder + "/RG110123.CSV");
    const std::string output = target.native(folder + "/rg110123.dat");
    const std::string listed = target.native(folder + "/RG110123.erc");
    const e2e::Result r = e2e::run("tabulon", {input}, "", dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(e2e::mask_date(e2e::read_file(dir / folder / "RG110123.erc")),
              target.text(listing(input, description(1881, false, kInCens), "", 1, 1, output)));
    EXPECT_EQ(r.err, target.text(console(4, 4, 1, 1, output, 0, 0, listed)));
    EXPECT_EQ(names_in(dir / folder),
              (std::set<std::string>{"RG110123.CSV", "RG110123.erc", "rg110123.dat"}));
}

// ===========================================================================
// Switches, usage and exit statuses

// Words after the file name are never looked at, switches or not.
TEST(Tabulon, WordsAfterTheFileNameAreIgnored)
{
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
    const e2e::Result r = e2e::run("tabulon", {"RG110123.CSV", "-v", "-d", "more.csv"}, "", dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(e2e::mask_date(e2e::read_file(dir / "RG110123.erc")),
              Target::get().text(listing("RG110123.CSV", description(1881, false, kInCens), "", 1, 1,
                                         "rg110123.dat")));
    EXPECT_EQ(e2e::read_file(dir / "rg110123.dat").size(), 256u);
    EXPECT_EQ(r.err, Target::get().text(console(4, 4, 1, 1, "rg110123.dat", 0, 0, "RG110123.erc")));
}

// On Windows '/' starts a switch as '-' does.
TEST(Tabulon, SlashSwitchesOnWindows)
{
    if (!Target::get().windows)
        GTEST_SKIP() << "on Linux '/' starts a path, not a switch";
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", header(28) + rows({ss_row(thomas(), 299)}));
    const e2e::Result r = e2e::run("tabulon", {"/d", "/q", "RG110123.CSV"}, "", dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(e2e::read_file(dir / "rg110123.vld").size(), 299u);
    EXPECT_NE(e2e::read_file(dir / "RG110123.erc").find("output format = VALD-REV, QUIET"),
              std::string::npos);
}

// On Linux an absolute path is a file name even though it begins with '/'.
TEST(Tabulon, AbsolutePathIsAFileName)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
    const std::string input = target.native(dir / "RG110123.CSV");
    const std::string output = target.native(dir / "rg110123.dat");
    const e2e::Result r = e2e::run("tabulon", {input});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(e2e::mask_date(e2e::read_file(dir / "RG110123.erc")),
              target.text(listing(input, description(1881, false, kInCens), "", 1, 1, output)));
    EXPECT_EQ(r.err, target.text(console(4, 4, 1, 1, output, 0, 0, target.native(dir / "RG110123.erc"))));
    EXPECT_EQ(e2e::read_file(dir / "rg110123.dat").size(), 256u);
}

struct NoRunCase {
    std::string name;
    std::vector<std::string> args;
    int status;
    std::string said;
};

void PrintTo(const NoRunCase& c, std::ostream* os)
{
    *os << c.name;
}

class NoRun : public ::testing::TestWithParam<NoRunCase> {};

// Without a file name, or with help asked for, nothing is converted and no file
// is touched: a listing left from an earlier run stays as it was.
TEST_P(NoRun, ShowsUsageOrNothing)
{
    const NoRunCase& c = GetParam();
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
    e2e::write_file(dir / "RG110123.erc", "earlier listing\n");
    const e2e::Result r = e2e::run("tabulon", c.args, "", dir.path());
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, Target::get().text(c.said));
    EXPECT_EQ(e2e::read_file(dir / "RG110123.erc"), "earlier listing\n");
    EXPECT_FALSE(e2e::exists(dir / "rg110123.dat"));
}

INSTANTIATE_TEST_SUITE_P(
    Tabulon, NoRun,
    ::testing::Values(NoRunCase{"NoArguments", {}, 1, kUsage},
                      NoRunCase{"HelpH", {"-h"}, 2, kUsage},
                      NoRunCase{"HelpQuestionMark", {"-?"}, 2, kUsage},
                      NoRunCase{"HelpUpperCase", {"-H"}, 2, kUsage},
                      NoRunCase{"HelpBeforeTheFile", {"-q", "-help", "RG110123.CSV"}, 2, kUsage},
                      NoRunCase{"UnknownThenHelp", {"-x", "-?", "RG110123.CSV"}, 2,
                                "Unknown option -x\n" + kUsage},
                      NoRunCase{"OnlySwitches", {"-q", "-d"}, 2, ""},
                      NoRunCase{"OnlyUnknownSwitch", {"-x"}, 2, "Unknown option -x\n"}),
    [](const auto& info) { return info.param.name; });

// ===========================================================================
// Set-up failures

struct FatalCase {
    std::string name;
    std::function<void(const fs::path&)> prepare;  // files in the run's directory
    std::vector<std::string> args;
    std::string said;         // console, before any system description
    bool described;           // a system description follows on the console
    std::string listing_name; // "" when the run must leave no listing
    std::string listed;       // the listing's whole text
    std::set<std::string> files;  // every name in the directory afterwards
};

void PrintTo(const FatalCase& c, std::ostream* os)
{
    *os << c.name;
}

class SetUpFatal : public ::testing::TestWithParam<FatalCase> {};

// Each set-up failure says so on the console (and in the listing once that is
// open), ends with status 12, and leaves no data file behind.
TEST_P(SetUpFatal, StopsTheRun)
{
    const FatalCase& c = GetParam();
    const Target& target = Target::get();
    e2e::TempDir dir;
    c.prepare(dir.path());
    std::vector<std::string> args;
    for (const std::string& a : c.args)
        args.push_back(target.native(a));
    const e2e::Result r = e2e::run("tabulon", args, "", dir.path());
    EXPECT_EQ(r.status, 12);
    const std::string said = target.text(c.said);
    EXPECT_EQ(r.err.substr(0, said.size()), said);
    if (c.described) {
        const std::string rest = r.err.substr(std::min(r.err.size(), said.size()));
        EXPECT_EQ(rest.rfind("Fatal: ", 0), 0u) << rest;
        EXPECT_GT(rest.size(), std::string("Fatal: ").size() + target.newline.size());
        EXPECT_EQ(std::count(rest.begin(), rest.end(), '\n'), 1) << rest;
    } else {
        EXPECT_EQ(r.err, said);
    }
    if (!c.listing_name.empty()) {
        EXPECT_EQ(e2e::read_file(dir / c.listing_name), target.text(c.listed));
    }
    EXPECT_EQ(names_in(dir.path()), c.files);
}

std::function<void(const fs::path&)> with_file(const std::string& name, const std::string& bytes)
{
    return [=](const fs::path& dir) { e2e::write_file(dir / name, bytes); };
}

// A valid piece with a listing left from an earlier run.
std::function<void(const fs::path&)> piece_and_old_listing(const std::string& name)
{
    return [=](const fs::path& dir) {
        e2e::write_file(dir / name, header() + rows({ss_row(thomas(), 256)}));
        e2e::write_file(dir / (base_of(name) + ".erc"), "earlier listing\n");
    };
}

const std::string kBadA1 = "Warning: Cell A1 doesn't contain a valid piece number\n\n";

INSTANTIATE_TEST_SUITE_P(
    Tabulon, SetUpFatal,
    ::testing::Values(
        FatalCase{"MessagesFileInMissingDirectory",
                  [](const fs::path&) {},
                  {"missing/RG110123.CSV"},
                  "Fatal: Messages file (" + Target::get().native("missing/RG110123.erc") +
                      ") failed to open\n",
                  true,
                  "",
                  "",
                  {}},
        FatalCase{"NoExtension",
                  piece_and_old_listing("RG110123"),
                  {"RG110123"},
                  "Fatal: Full file name required including the three letter extension\n",
                  false,
                  "RG110123.erc",
                  "Fatal: Full file name required including the three letter extension - RG110123\n",
                  {"RG110123", "RG110123.erc"}},
        FatalCase{"ExtensionAfterTheFirstDot",
                  with_file("RG110123.b.csv", "x\n"),
                  {"RG110123.b.csv"},
                  "Fatal: File must be a .csv (comma separated values)\n",
                  false,
                  "RG110123.erc",
                  "Fatal: File must be a .csv (comma separated values)\n",
                  {"RG110123.b.csv", "RG110123.erc"}},
        FatalCase{"TextExtensionBeforeTheName",
                  with_file("XY123.txt", "x\n"),
                  {"XY123.txt"},
                  "Fatal: File must be a .csv (comma separated values)\n",
                  false,
                  "XY123.erc",
                  "Fatal: File must be a .csv (comma separated values)\n",
                  {"XY123.txt", "XY123.erc"}},
        FatalCase{"InputMissing",
                  [](const fs::path&) {},
                  {"RG110123.CSV"},
                  "Fatal: Input file (RG110123.CSV) failed to open\n",
                  true,
                  "RG110123.erc",
                  "Fatal: Input file (RG110123.CSV) failed to open\n",
                  {"RG110123.erc"}},
        FatalCase{"InputIsADirectory",
                  [](const fs::path& dir) { fs::create_directory(dir / "RG110123.CSV"); },
                  {"RG110123.CSV"},
                  "Fatal: Input file (RG110123.CSV) failed to open\n",
                  true,
                  "RG110123.erc",
                  "Fatal: Input file (RG110123.CSV) failed to open\n",
                  {"RG110123.CSV", "RG110123.erc"}},
        FatalCase{"OutputCannotBeMade",
                  [](const fs::path& dir) {
                      e2e::write_file(dir / "RG110123.CSV", header(25, "Piece 1") +
                                                                rows({ss_row(thomas(), 256)}));
                      fs::create_directory(dir / "rg110123.dat");
                  },
                  {"RG110123.CSV"},
                  "Fatal: Output file (rg110123.dat) failed to open\n",
                  true,
                  "RG110123.erc",
                  kBadA1 + "Fatal: Output file (rg110123.dat) failed to open\n",
                  {"RG110123.CSV", "RG110123.erc", "rg110123.dat"}}),
    [](const auto& info) { return info.param.name; });

// The missing file's description is the system's own.
TEST(Tabulon, OpenFailuresGiveTheSystemsDescription)
{
    if (Target::get().windows)
        GTEST_SKIP() << "the description's words are the C library's";
    e2e::TempDir dir;
    e2e::Result r = e2e::run("tabulon", {"RG110123.CSV"}, "", dir.path());
    EXPECT_EQ(r.err, "Fatal: Input file (RG110123.CSV) failed to open\nFatal: No such file or directory\n");
    r = e2e::run("tabulon", {"missing/RG110123.CSV"}, "", dir.path());
    EXPECT_EQ(r.err,
              "Fatal: Messages file (missing/RG110123.erc) failed to open\nFatal: No such file or directory\n");
}

// An input path of 127 characters is taken, one of 128 refused before the listing
// is touched.
TEST(Tabulon, InputPathLimitIs127Characters)
{
    for (const std::size_t length : {127u, 128u}) {
        SCOPED_TRACE(length);
        e2e::TempDir dir;
        const std::string folder = repeat('d', length - std::string("/RG110123.CSV").size());
        fs::create_directory(dir / folder);
        e2e::write_file(dir / folder / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
        e2e::write_file(dir / folder / "RG110123.erc", "earlier listing\n");
        const std::string input = Target::get().native(folder + "/RG110123.CSV");
        ASSERT_EQ(input.size(), length);
        const e2e::Result r = e2e::run("tabulon", {"-q", input}, "", dir.path());
        if (length == 127) {
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(e2e::read_file(dir / folder / "rg110123.dat").size(), 256u);
            continue;
        }
        EXPECT_EQ(r.status, 12);
        EXPECT_EQ(r.err, Target::get().text(
                             "Fatal: File path too long, move it closer to the root of the disk\n"));
        EXPECT_EQ(e2e::read_file(dir / folder / "RG110123.erc"), "earlier listing\n");
        EXPECT_EQ(names_in(dir / folder), (std::set<std::string>{"RG110123.CSV", "RG110123.erc"}));
    }
}

// A derived path may be longer than the input path: a 127-character input whose
// base name is normalised to a longer one still gets its full output name.
TEST(Tabulon, DerivedOutputPathLongerThanTheInputPath)
{
    e2e::TempDir dir;
    const std::string folder = repeat('d', 127 - std::string("/rg9123.csv").size());
    fs::create_directory(dir / folder);
    e2e::write_file(dir / folder / "rg9123.csv", header() + rows({ss_row(thomas(), 256)}));
    const std::string input = Target::get().native(folder + "/rg9123.csv");
    ASSERT_EQ(input.size(), 127u);
    const e2e::Result r = e2e::run("tabulon", {"-q", input}, "", dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(names_in(dir / folder),
              (std::set<std::string>{"rg9123.csv", "rg9123.erc", "rg090123.dat"}));
    const std::string output = Target::get().native(folder + "/rg090123.dat");
    EXPECT_NE(e2e::read_file(dir / folder / "rg9123.erc")
                  .find(Target::get().text("\nOutput file is " + output + "\n")),
              std::string::npos);
    EXPECT_EQ(e2e::read_file(dir / folder / "rg090123.dat").size(), 256u);
}

// Thousands of switches before the file name are all read, the last one winning.
TEST(Tabulon, VeryLongArgumentList)
{
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
    std::vector<std::string> args;
    for (int i = 0; i < 5000; ++i)
        args.push_back(i % 2 ? "-v" : "-q");
    args.push_back("RG110123.CSV");
    const e2e::Result r = e2e::run("tabulon", args, "", dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(e2e::read_file(dir / "RG110123.erc").find("output format = IN-CENS, VERBOSE"),
              std::string::npos);
}

// Binary bytes in a file name are refused like any other bad piece number.
TEST(Tabulon, BinaryBytesInTheFileName)
{
    if (Target::get().windows)
        GTEST_SKIP() << "Windows file names are not byte strings";
    e2e::TempDir dir;
    const std::string name = std::string("RG11\x01\x7f") + "\xfe" + "1.csv";
    e2e::write_file(dir / name, header() + rows({ss_row(thomas(), 256)}));
    const e2e::Result r = e2e::run("tabulon", {name}, "", dir.path());
    EXPECT_EQ(r.status, 12);
    EXPECT_EQ(r.err, "Fatal: Piece number in file name is not numeric\n");
    EXPECT_EQ(names_in(dir.path()),
              (std::set<std::string>{name, std::string("RG11\x01\x7f") + "\xfe" + "1.erc"}));
}

// On POSIX systems a backslash is an ordinary character of a name.
TEST(Tabulon, BackslashIsPlainTextOnPosix)
{
    if (Target::get().windows)
        GTEST_SKIP() << "the backslash separates directories on Windows";
    e2e::TempDir dir;
    const std::string folder = "a\\b";
    fs::create_directory(dir / folder);
    e2e::write_file(dir / folder / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
    const e2e::Result r = e2e::run("tabulon", {folder + "/RG110123.CSV"}, "", dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(names_in(dir / folder),
              (std::set<std::string>{"RG110123.CSV", "RG110123.erc", "rg110123.dat"}));
    EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{folder}));
}

// A program path of 126 characters is taken, one of 127 refused before the
// listing is touched; the tables are looked for beside the program as named.
TEST(Tabulon, ProgramPathLimitIs126Characters)
{
    if (Target::get().windows)
        GTEST_SKIP() << "argv[0] cannot be chosen under Wine";
    for (const std::size_t length : {126u, 127u}) {
        SCOPED_TRACE(length);
        e2e::TempDir dir;
        e2e::write_file(dir / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
        e2e::write_file(dir / "RG110123.erc", "earlier listing\n");
        const std::string prefix = dir.path().string() + "/";
        const std::string program_dir =
            prefix + repeat('p', length - prefix.size() - std::string("/tabulon").size());
        e2e::Invocation run;
        run.program = "tabulon";
        run.argv0 = program_dir + "/tabulon";
        ASSERT_EQ(run.argv0->size(), length);
        run.args = {"RG110123.CSV"};
        run.cwd = dir.path();
        const e2e::Result r = e2e::run(run);
        if (length == 126) {
            EXPECT_EQ(r.status, 4);
            EXPECT_EQ(e2e::read_file(dir / "RG110123.erc")
                          .rfind("Warning: Aux file " + program_dir +
                                     "/CHAP1891.TXT failed to open, county code checking disabled\n\n",
                                 0),
                      0u);
            continue;
        }
        EXPECT_EQ(r.status, 12);
        EXPECT_EQ(r.err, "Fatal: Program path too long, move it closer to the root of the disk\n");
        EXPECT_EQ(e2e::read_file(dir / "RG110123.erc"), "earlier listing\n");
        EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"RG110123.CSV", "RG110123.erc"}));
    }
}

// A data file that cannot be written (a full disk) ends the run with a Fatal,
// status 12, and no data file left behind.
TEST(Tabulon, OutputWriteFailureEndsTheRun)
{
    if (Target::get().windows)
        GTEST_SKIP() << "/dev/full is a Linux device";
    for (const int count : {1, 2000}) {
        SCOPED_TRACE(count);
        e2e::TempDir dir;
        std::string csv = header();
        for (int i = 0; i < count; ++i)
            csv += ss_row(thomas(), 256) + "\n";
        e2e::write_file(dir / "RG110123.CSV", csv);
        fs::create_symlink("/dev/full", dir / "rg110123.dat");
        const e2e::Result r = e2e::run("tabulon", {"RG110123.CSV"}, "", dir.path());
        EXPECT_EQ(r.status, 12);
        const std::string fatal = "Fatal: Output file (rg110123.dat) write failed\n";
        EXPECT_NE(r.err.find(fatal + "Fatal: No space left on device\n"), std::string::npos) << r.err;
        const std::string listed = e2e::read_file(dir / "RG110123.erc");
        EXPECT_NE(listed.find(fatal), std::string::npos) << listed;
        if (count > 1) {  // the failure comes in the row loop: nothing follows it
            EXPECT_EQ(listed.substr(listed.size() - std::min(listed.size(), fatal.size())), fatal);
            EXPECT_EQ(r.err.find(" errors"), std::string::npos) << r.err;
        }
        EXPECT_EQ(fs::read_symlink(dir / "rg110123.dat"), "/dev/full");
    }
}

// ===========================================================================
// The code tables beside the program

struct TableCase {
    std::string name;
    int county_lines;  // 0: no county table
    std::vector<std::string> switches;
    std::string input;
    std::string warnings;  // ahead of the listing header; "%s" stands for the program directory
};

void PrintTo(const TableCase& c, std::ostream* os)
{
    *os << c.name;
}

class CodeTables : public ::testing::TestWithParam<TableCase> {};

std::string county_line(int i)
{
    if (i == 0)  // the county of the test rows
        return "Somerset            SOM";
    std::string name = "County " + std::to_string(i);
    char code[16];
    std::snprintf(code, sizeof code, "C%02d", i % 100);
    return name + std::string(20 - name.size(), ' ') + code;
}

// Missing tables switch their checks off with a warning that heads
// the listing (none under the quiet switch); 1841 pieces look for neither file.
TEST_P(CodeTables, AreLoadedFromTheProgramsDirectory)
{
    const TableCase& c = GetParam();
    const Target& target = Target::get();
    e2e::TempDir dir;
    const fs::path bin = dir / "bin";
    fs::create_directory(bin);
    const fs::path program = e2e::stage_program("tabulon", bin);
    if (c.county_lines > 0) {
        std::string text;
        for (int i = 0; i < c.county_lines; ++i)
            text += county_line(i) + "\n";
        e2e::write_file(bin / "CHAP1891.TXT", text);
    }
    e2e::write_file(dir / c.input, header(25, "RG11 piece 1", c.input[0] == 'H' ? "7" : "") +
                                       rows({ss_row(thomas(), 256)}));
    std::vector<std::string> args = c.switches;
    args.push_back(c.input);
    const e2e::Result r = e2e::run(program.string(), args, "", dir.path());

    std::string before = c.warnings;
    for (std::size_t at; (at = before.find("%s")) != std::string::npos;)
        before.replace(at, 2, target.native(bin) + target.sep);
    const int warnings = count_of(before, "Warning:");
    const bool quiet = !c.switches.empty() && c.switches[0] == "-q";
    const std::string output = c.input[0] == 'H' ? "ho107123.dat" : "rg110123.dat";
    EXPECT_EQ(r.status, warnings ? 4 : 0);
    EXPECT_EQ(e2e::mask_date(e2e::read_file(dir / (base_of(c.input) + ".erc"))),
              target.text(listing(c.input,
                                  description(c.input[0] == 'H' ? 1841 : 1881, false, kInCens,
                                              quiet ? ", QUIET" : ""),
                                  "", 1, 1, output, false, before)));
    EXPECT_EQ(r.err, target.text(console(4, 4, 1, 1, output, 0, quiet ? -1 : warnings,
                                         base_of(c.input) + ".erc")));
}

const std::string kNoCounties = "Warning: Aux file %sCHAP1891.TXT failed to open, county code checking disabled\n\n";
const std::string kNoRelationships =
    "Warning: Aux file %srelcodes.txt failed to open, relationship code checking disabled\n\n";

INSTANTIATE_TEST_SUITE_P(
    Tabulon, CodeTables,
    ::testing::Values(
        TableCase{"NoCountyFile", 0, {}, "RG110123.CSV", kNoCounties},
        TableCase{"NoCountyFileQuiet", 0, {"-q"}, "RG110123.CSV", ""},
        TableCase{"NoTablesIn1841", 0, {"-r"}, "HO107123.CSV", ""},
        TableCase{"NoRelationshipFileWithoutR", 96, {}, "RG110123.CSV", ""},
        TableCase{"NoRelationshipFileWithR", 96, {"-r"}, "RG110123.CSV", kNoRelationships},
        TableCase{"BothMissingWithR", 0, {"-r"}, "RG110123.CSV", kNoCounties + kNoRelationships},
        TableCase{"BothMissingWithRQuiet", 0, {"-q", "-r"}, "RG110123.CSV", ""}),
    [](const auto& info) { return info.param.name; });

// A table warning stands ahead of an input-file Fatal.
TEST(Tabulon, TableWarningPrecedesTheInputFatal)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    const fs::path bin = dir / "bin";
    fs::create_directory(bin);
    const fs::path program = e2e::stage_program("tabulon", bin);
    const e2e::Result r = e2e::run(program.string(), {"RG110123.CSV"}, "", dir.path());
    EXPECT_EQ(r.status, 12);
    EXPECT_EQ(e2e::read_file(dir / "RG110123.erc"),
              target.text("Warning: Aux file " + target.native(bin / "CHAP1891.TXT") +
                          " failed to open, county code checking disabled\n\n"
                          "Fatal: Input file (RG110123.CSV) failed to open\n"));
}

// Installed (the code tables beside the program, as the install and the
// package put them) and run by name through PATH from a piece's folder: the
// tables are looked for beside the program's file, not in the current folder.
TEST(Tabulon, InstalledProgramRunByNameFindsItsTables)
{
    const Target& target = Target::get();
    e2e::TempDir installed, work;
    const fs::path bin = installed / "bin";
    fs::create_directory(bin);
    const fs::path program = e2e::stage_program("tabulon", bin);
    e2e::write_file(work / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
    const auto run_by_name = [&] {
        e2e::Invocation run;
        run.cwd = work.path();
        if (target.windows) {
            // The command prompt finds the program through PATH and starts it
            // by the name typed, as a user's command line does.
            run.program = target.wineprefix + "/drive_c/windows/system32/cmd.exe";
            run.args = {"/c", "set PATH=" + target.native(bin) + ";%PATH%&&tabulon -r RG110123.CSV"};
        } else {
            run.program = program.string();
            run.argv0 = "tabulon";
            run.args = {"-r", "RG110123.CSV"};
        }
        return e2e::run(run);
    };

    // Tables in the current folder only: they are not the program's.
    for (const char* table : {"CHAP1891.TXT", "relcodes.txt"})
        fs::copy_file(fs::path(target.program("tabulon")).parent_path() / table, work / table);
    e2e::Result r = run_by_name();
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_EQ(e2e::read_file(work / "RG110123.erc")
                  .rfind(target.text("Warning: Aux file " + target.native(bin / "CHAP1891.TXT") +
                                     " failed to open, county code checking disabled\n\n"
                                     "Warning: Aux file " + target.native(bin / "relcodes.txt") +
                                     " failed to open, relationship code checking disabled\n\n"
                                     "Error listing"),
                         0),
              0u);

    for (const char* table : {"CHAP1891.TXT", "relcodes.txt"})
        fs::rename(work / table, bin / table);
    r = run_by_name();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(e2e::read_file(work / "RG110123.erc").rfind("Error listing for tabulon", 0), 0u);
    EXPECT_EQ(e2e::read_file(work / "rg110123.dat").size(), 256u);
}

// ===========================================================================
// Properties: any bytes at all, big inputs, speed

// The lines the reader makes of these bytes, without their line ends: a line
// ends after LF, CR or CR LF; a last line without a line end counts; an empty
// read at the end of the input is no line.
std::vector<std::string> lines_in(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        std::string line;
        while (i < n && bytes[i] != '\n' && bytes[i] != '\r')
            line += bytes[i++];
        if (i < n && bytes[i++] == '\r' && i < n && bytes[i] == '\n')
            ++i;
        lines.push_back(line);
    }
    return lines;
}

// A row's text read from its start by the field cutter's quote rules: does it
// end inside a quoted part, and how many cells has it?
struct Quotes {
    bool open = false;
    std::size_t cells = 1;
};

Quotes quotes_of(const std::string& row)
{
    Quotes q;
    bool cell_start = true;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (q.open) {
            if (row[i] == '"' && !(i + 1 < row.size() && row[i + 1] == '"'))
                q.open = false;
            else if (row[i] == '"')
                ++i;
        } else if (row[i] == ',') {
            ++q.cells;
            cell_start = true;
        } else if (cell_start && row[i] != ' ') {
            cell_start = false;
            q.open = row[i] == '"';
        }
    }
    return q;
}

// The rows of the spreadsheet in these bytes: a line that ends inside a quoted
// part takes in the lines up to the one that closes it (ten lines at most),
// when the row then has as many cells as the reference row (row 2 of the
// SS-CENS layout; in the ALL layout the first non-empty row of one line that
// ends outside quotes; none before it is read); otherwise it stands alone.
std::size_t rows_in(const std::string& bytes, bool all)
{
    const std::vector<std::string> lines = lines_in(bytes);
    std::size_t rows = 0, reference = 0;
    for (std::size_t i = 0; i < lines.size(); ++rows) {
        std::string row = lines[i];
        std::size_t taken = 1;
        for (std::size_t k = 1; k < 10 && i + k < lines.size() && quotes_of(row).open; ++k) {
            row += " " + lines[i + k];
            const Quotes q = quotes_of(row);
            if (!q.open && (reference == 0 || q.cells == reference))
                taken = k + 1;
        }
        if (taken == 1)
            row = lines[i];
        if (!all && rows == 1)
            reference = quotes_of(row).cells;
        if (all && reference == 0 && taken == 1 && !row.empty() && !quotes_of(row).open)
            reference = quotes_of(row).cells;
        i += taken;
    }
    return rows;
}

struct RunFacts {
    int status;
    std::size_t progress_rows;   // rows the console counted
    bool progress_in_order;      // the counter ran first_row, first_row + 1, ...
    long records;                // as the listing's summary says
    long blank_rows;             // blank-row warnings in the listing
    std::size_t data_size;
};

RunFacts facts_of(const std::string& csv, const std::vector<std::string>& switches, int first_row,
                  const std::string& output)
{
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", csv);
    std::vector<std::string> args = switches;
    args.push_back("RG110123.CSV");
    const e2e::Result r = e2e::run("tabulon", args, "", dir.path());
    RunFacts facts{r.status, 0, true, -1, 0, 0};
    std::size_t at = 0;
    for (long expected = first_row;; ++expected) {
        const std::string token = std::to_string(expected) + "\r";
        if (r.err.compare(at, token.size(), token) != 0)
            break;
        at += token.size();
        ++facts.progress_rows;
    }
    const std::string next = Target::get().text("\nOutput ");
    facts.progress_in_order = r.err.compare(at, next.size(), next) == 0;
    const std::string listed = e2e::read_file(dir / "RG110123.erc");
    const std::size_t said = listed.rfind(" records, highest household number = ");
    const std::size_t count = listed.rfind("\nOutput ", said);
    if (said != std::string::npos && count != std::string::npos)
        facts.records = std::stol(listed.substr(count + 8, said - count - 8));
    for (std::size_t p = 0; (p = listed.find(" blank, ignored", p)) != std::string::npos; ++p)
        ++facts.blank_rows;
    facts.data_size = e2e::read_file(dir / output).size();
    return facts;
}

struct RandomCase {
    unsigned seed;
    bool all;
    const Format* format;
};

void PrintTo(const RandomCase& c, std::ostream* os)
{
    *os << "seed " << c.seed << (c.all ? " ALL " : " SS-CENS ") << c.format->name;
}

class RandomBytes : public ::testing::TestWithParam<RandomCase> {};

// Whatever the bytes, the run ends normally, counts every row the reader makes,
// and writes exactly one record of the chosen length per non-blank row.
TEST_P(RandomBytes, GiveOneRecordPerNonBlankRow)
{
    const RandomCase& c = GetParam();
    std::mt19937 random(c.seed);
    const std::string special = ",,,,\"\"\r\n\n \\/";
    std::string body(std::uniform_int_distribution<std::size_t>(0, 40000)(random), ' ');
    for (char& b : body)
        b = random() % 3 ? static_cast<char>(random() % 256) : special[random() % special.size()];
    const std::string csv = (c.all ? "" : header(c.format->titles)) + body;
    std::vector<std::string> switches = c.format->switches;
    if (c.all)
        switches.push_back("-a");
    const RunFacts facts = facts_of(csv, switches, c.all ? 1 : 4, "rg110123." + c.format->ext);

    EXPECT_TRUE(facts.status == 0 || facts.status == 4 || facts.status == 8) << facts.status;
    const std::size_t data_rows = rows_in(csv, c.all) - (c.all ? 0 : 3);
    EXPECT_EQ(facts.progress_rows, data_rows);
    EXPECT_TRUE(facts.progress_in_order);
    EXPECT_EQ(facts.records + facts.blank_rows, static_cast<long>(data_rows));
    EXPECT_EQ(facts.data_size, static_cast<std::size_t>(facts.records) * c.format->rlen);
}

INSTANTIATE_TEST_SUITE_P(
    Tabulon, RandomBytes,
    ::testing::Values(RandomCase{1, true, &kInCens}, RandomCase{2, true, &kCheckCens},
                      RandomCase{3, true, &kValdRev}, RandomCase{4, false, &kInCens},
                      RandomCase{5, false, &kCheckCens}, RandomCase{6, false, &kValdRev},
                      RandomCase{7, true, &kInCens}, RandomCase{8, false, &kInCens}));

// A 10 MB line without a line end is one row.
TEST(Tabulon, TenMegabyteLineIsOneRow)
{
    std::mt19937 random(11);
    std::string line(10u << 20, ' ');
    const std::string letters = "abcdefghij,,,\"";
    for (char& b : line)
        b = letters[random() % letters.size()];
    for (const bool all : {true, false}) {
        SCOPED_TRACE(all ? "ALL" : "SS-CENS");
        const std::string csv = (all ? "" : header()) + line;
        const RunFacts facts =
            facts_of(csv, all ? std::vector<std::string>{"-a"} : std::vector<std::string>{},
                     all ? 1 : 4, "rg110123.dat");
        EXPECT_EQ(facts.status, 8);
        EXPECT_EQ(facts.progress_rows, 1u);
        EXPECT_EQ(facts.records, 1);
        EXPECT_EQ(facts.data_size, 256u);
    }
}

// A file of NUL bytes is one row: every byte an invalid character.
TEST(Tabulon, FileOfNulBytes)
{
    e2e::TempDir dir, headed_dir;
    e2e::write_file(dir / "RG110123.CSV", std::string(20000, '\0'));
    e2e::write_file(headed_dir / "RG110123.CSV", std::string(20000, '\0'));
    const e2e::Result r = e2e::run("tabulon", {"-a", "RG110123.CSV"}, "", dir.path());
    EXPECT_EQ(r.status, 8);
    // Each NUL is reported, and the row's one cell is too long for the status.
    // The row then lacks its household number, parish, folio and page (4 more
    // errors); it warns of its blank member number, the initial household and
    // member numbers, the first page (999) and folio gap of a new ED, and its
    // missing surname, relationship, sex and county code.
    EXPECT_NE(r.err.find(Target::get().text("\nOutput 1 records, highest household number = 0\n")),
              std::string::npos);
    EXPECT_NE(r.err.find(Target::get().text("\n 20005 errors, 9 warnings. see RG110123.erc\n")),
              std::string::npos)
        << r.err.substr(r.err.size() - std::min<std::size_t>(r.err.size(), 200));
    EXPECT_EQ(e2e::read_file(dir / "rg110123.dat").size(), 256u);

    // With header rows expected, row 1 runs into the end of the input.
    const e2e::Result headed = e2e::run("tabulon", {"RG110123.CSV"}, "", headed_dir.path());
    EXPECT_EQ(headed.status, 12);
    EXPECT_EQ(headed.err, Target::get().text("Fatal: No data in file, it appears to be empty\n"));
    EXPECT_FALSE(e2e::exists(headed_dir / "rg110123.dat"));
}

// 100,000 rows convert in well under a second (allowing slack for a busy machine).
TEST(Tabulon, HundredThousandRowsConvertQuickly)
{
    e2e::TempDir dir;
    // A clean piece: 50,000 households of two, 15 to a page, 64 pages to an
    // ED, two pages to a folio, schedules numbered within each ED.
    std::string csv = header();
    const std::string wife = ss_row(member("Hannah", "Wife", "M", "F", "44", ""), 256) + "\n";
    csv.reserve(100000 * wife.size() * 2);
    Person head = thomas();
    for (int h = 0; h < 50000; ++h) {
        const int ed = h / 960, in_ed = h % 960, page = in_ed / 15;
        head.ed = std::to_string(ed + 1);
        head.page = std::to_string(page + 1);
        head.folio = std::to_string(ed * 32 + page / 2 + 1);
        head.schedule = std::to_string(in_ed + 1);
        csv += ss_row(head, 256) + "\n" + wife;
    }
    e2e::write_file(dir / "RG110123.CSV", csv);
    const auto start = std::chrono::steady_clock::now();
    const e2e::Result r = e2e::run("tabulon", {"RG110123.CSV"}, "", dir.path());
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::cout << "[ info     ] 100000 rows converted in " << ms << " ms\n";
    RecordProperty("milliseconds", static_cast<int>(ms));
    EXPECT_EQ(r.status, 0);
    // A Debug or sanitizer build of the programs is checked for its output only.
    if (Target::get().windows) {
        EXPECT_LT(ms, 10000);
    } else if (E2E_OPTIMISED_PROGRAMS) {
        EXPECT_LT(ms, 3000);
    }
    EXPECT_EQ(e2e::read_file(dir / "rg110123.dat").size(), 100000u * 256);
    EXPECT_NE(e2e::read_file(dir / "RG110123.erc")
                  .find(Target::get().text("\nOutput 100000 records, highest household number = 50000\n")),
              std::string::npos);
}

}  // namespace
