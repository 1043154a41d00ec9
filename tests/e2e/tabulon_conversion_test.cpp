// tabulon seen from outside: whole converter runs on small spreadsheets of
// fictional people, comparing the exit status, the console, the error listing
// (date masked) and the data file byte for byte.
//
// The row checks that validate and rewrite field values are not part of these
// cases: rows reach the data file as they were read, after intake (fill-down,
// household numbering, DELETED and status), the store of the carried values and
// the three-digit schedule form.
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
const std::string kInvalid = "\x85";  // outside the valid eight-bit set

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

// The row in the ALL layout (status, book, household and member first; no employed column).
std::string all_row(const Person& p, int rlen)
{
    std::vector<std::string> c;
    for (const std::string* f :
         {&p.status, &p.book, &p.household, &p.member, &p.parish, &p.ed, &p.folio, &p.page,
          &p.schedule, &p.house, &p.address, &p.uninhabited, &p.surname, &p.forenames, &p.name_flag,
          &p.relationship, &p.condition, &p.sex, &p.age, &p.detail_flag, &p.occupation,
          &p.occupation_flag, &p.county, &p.birthplace, &p.birthplace_flag, &p.disability,
          &p.language, &p.notes})
        c.push_back(*f);
    if (rlen > 256)
        c.push_back(p.district);
    if (rlen > 276) {
        c.push_back(p.alt_county);
        c.push_back(p.alt_birthplace);
    }
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
// The expected data record

struct Record {
    char status = ' ';
    std::string book;
    long household = 0, member = 0;
    std::string parish, ed;
    char ed_suffix = ' ';
    std::string folio;
    char folio_suffix = ' ';
    std::string page, schedule;
    char schedule_suffix = ' ';
    std::string house;
    char house_suffix = ' ';
    std::string address;
    char uninhabited = ' ';
    std::string surname, forenames;
    char name_flag = ' ';
    std::string relationship;
    char condition = ' ', sex = ' ';
    std::string age;
    char age_units = ' ', detail_flag = ' ';
    std::string occupation;
    char occupation_flag = ' ';
    std::string county, birthplace;
    char birthplace_flag = ' ';
    std::string disability;
    char language = ' ';
    std::string notes, district, alt_county, alt_birthplace;
};

char one(const std::string& cell)
{
    return cell.empty() ? ' ' : cell[0];
}

// The record of a row written as it was read, but for the stand-ins of an
// empty address ("-") and an empty uninhabited flag ("-").
Record as_read(const Person& p, long household, long member)
{
    Record r;
    r.household = household;
    r.member = member;
    r.parish = p.parish;
    r.ed = p.ed;
    r.folio = p.folio;
    r.page = p.page;
    r.schedule = p.schedule;
    r.house = p.house;
    r.address = p.address.empty() ? "-" : p.address;
    r.uninhabited = p.uninhabited.empty() ? '-' : one(p.uninhabited);
    r.surname = p.surname;
    r.forenames = p.forenames;
    r.name_flag = one(p.name_flag);
    r.relationship = p.relationship;
    r.condition = p.condition.empty() ? '-' : one(p.condition);
    r.sex = one(p.sex);
    r.age = p.age;
    r.age_units = !p.age.empty() && std::isdigit(static_cast<unsigned char>(p.age.back())) ? 'y' : ' ';
    r.detail_flag = one(p.detail_flag);
    r.occupation = p.occupation;
    r.occupation_flag = one(p.occupation_flag);
    r.county = p.county;
    r.birthplace = p.birthplace;
    r.birthplace_flag = one(p.birthplace_flag);
    r.disability = p.disability;
    r.language = one(p.language);
    r.notes = p.notes;
    r.district = p.district;
    r.alt_county = p.alt_county;
    r.alt_birthplace = p.alt_birthplace;
    return r;
}

// What an 1841 record holds in place of the columns that census did not have:
// no schedule, relationship, condition or birth place.
Record in_1841(Record r)
{
    r.schedule.clear();
    r.relationship = "-";
    r.condition = '-';
    r.birthplace = "-";
    r.disability.clear();
    r.alt_birthplace.clear();
    return r;
}

// The location, house and address a continuing row takes from the row before it.
Record located_as(Record r, const Record& previous)
{
    r.house = previous.house;
    r.address = previous.address;
    r.parish = previous.parish;
    r.district = previous.district;
    r.ed = previous.ed;
    r.ed_suffix = previous.ed_suffix;
    r.folio = previous.folio;
    r.folio_suffix = previous.folio_suffix;
    r.page = previous.page;
    r.schedule = previous.schedule;
    r.uninhabited = previous.uninhabited;
    return r;
}

std::string text_field(const std::string& value, std::size_t width)
{
    if (value.size() > width)
        ADD_FAILURE() << "test data: \"" << value << "\" is wider than " << width;
    return (value + std::string(width, ' ')).substr(0, width);
}

std::string number_field(long value, int width)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*ld", width, value);
    return buffer;
}

std::string layout(const Record& r, int rlen)
{
    std::string s;
    s += r.status;
    s += text_field(r.book, 4);
    s += number_field(r.household, 6);
    s += number_field(r.member, 4);
    s += text_field(r.parish, 20);
    s += text_field(r.ed, 3);
    s += r.ed_suffix;
    s += text_field(r.folio, 4);
    s += r.folio_suffix;
    s += text_field(r.page, 4);
    s += text_field(r.schedule, 3);
    s += r.schedule_suffix;
    s += text_field(r.house, 4);
    s += r.house_suffix;
    s += text_field(r.address, 30);
    s += r.uninhabited;
    s += text_field(r.surname, 24);
    s += text_field(r.forenames, 24);
    s += r.name_flag;
    s += text_field(r.relationship, 6);
    s += r.condition;
    s += r.sex;
    s += text_field(r.age, 3);
    s += r.age_units;
    s += r.detail_flag;
    s += text_field(r.occupation, 30);
    s += r.occupation_flag;
    s += text_field(r.county, 3);
    s += text_field(r.birthplace, 20);
    s += r.birthplace_flag;
    s += text_field(r.disability, 6);
    s += r.language;
    s += text_field(r.notes, 44);
    if (rlen > 256)
        s += text_field(r.district, 20);
    if (rlen > 276) {
        s += text_field(r.alt_county, 3);
        s += text_field(r.alt_birthplace, 20);
    }
    return s;
}

// Compares record by record, naming the first differing position (from 1).
void expect_records(const std::string& data, const std::vector<Record>& expected, int rlen)
{
    EXPECT_EQ(data.size(), expected.size() * static_cast<std::size_t>(rlen)) << "data file size";
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const std::string want = layout(expected[k], rlen);
        const std::string got = data.substr(std::min(data.size(), k * rlen), rlen);
        if (got == want)
            continue;
        std::size_t at = 0;
        while (at < got.size() && at < want.size() && got[at] == want[at])
            ++at;
        ADD_FAILURE() << "record " << k << " differs from position " << at + 1 << "\n  want: ["
                      << want << "]\n  got:  [" << got << "]";
    }
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

// ===========================================================================
// Whole conversions: a small piece in each layout and record length

class SsCensPiece : public ::testing::TestWithParam<Format> {};

// Two schedules then three rows without: households 1 and 2, the location of the
// row before filled into rows that leave it empty (page, Eccl. District and a
// non-building uninhabited flag included), members counted within households.
TEST_P(SsCensPiece, FillsDownAndNumbersHouseholds)
{
    const Format f = GetParam();
    Person head = thomas();
    Person wife = member("Hannah", "Wife", "M", "F", "44", "");
    Person son = member("William", "Son", "U", "M", "17", "Plough Boy");
    Person widower = member("Richard", "Head", "W", "M", "71", "Retired Miller");
    widower.surname = "PELLOW";
    widower.schedule = "2";
    widower.house = "4";
    widower.address = "Church Lane";
    widower.uninhabited = "-";
    Person servant = member("Mary Ann", "Serv", "U", "F", "19", "General Servant");
    servant.surname = "QUARRIE";
    servant.page = "2";
    Person miller = member("George", "Head", "M", "M", "38", "Miller");
    miller.surname = "FENWICK";
    miller.parish = "Cheddon Fitzpaine";
    miller.ed = "2";
    miller.folio = "5";
    miller.page = "1";
    miller.schedule = "1";
    miller.address = "The Mill House";
    miller.alt_county = "SOM";
    miller.alt_birthplace = "Kingston";
    const std::vector<Person> people{head, wife, son, widower, servant, miller};

    std::vector<std::string> lines;
    for (const Person& p : people)
        lines.push_back(ss_row(p, f.rlen));
    const std::string output = "rg110123." + f.ext;
    const Outcome o = convert(header(f.titles) + rows(lines), f.switches, "RG110123.CSV", output);

    std::vector<Record> want;
    want.push_back(as_read(head, 1, 1));
    want.push_back(located_as(as_read(wife, 1, 2), want[0]));
    want.push_back(located_as(as_read(son, 1, 3), want[0]));
    Record r = as_read(widower, 2, 1);
    r.parish = "Merrowby";
    r.district = "Thornbury St Mary";
    r.ed = "1";
    r.folio = "4";
    r.page = "1";
    want.push_back(r);
    r = located_as(as_read(servant, 2, 2), want[3]);
    r.page = "2";
    want.push_back(r);
    r = as_read(miller, 3, 1);
    r.district = "Thornbury St Mary";
    want.push_back(r);
    if (f.rlen <= 256)
        for (Record& w : want)
            w.district.clear();
    if (f.rlen <= 276)
        for (Record& w : want)
            w.alt_county.clear(), w.alt_birthplace.clear();

    EXPECT_EQ(o.result.status, 0);
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, false, f), "", 6,
                                                    3, output)));
    EXPECT_EQ(o.result.err, Target::get().text(console(4, 9, 6, 3, output, 0, 0, "RG110123.erc")));
    EXPECT_EQ(o.result.out, "");
    expect_records(o.data, want, f.rlen);
}

INSTANTIATE_TEST_SUITE_P(Tabulon, SsCensPiece, ::testing::Values(kInCens, kCheckCens, kValdRev),
                         [](const auto& info) { return info.param.ext; });

class AllPiece : public ::testing::TestWithParam<Format> {};

// The ALL layout: no header rows (row 1 is data and no "Subtract" line), the
// household and member numbers and the book as typed, no fill-down, status Z or
// empty written as a blank and any other status kept, the tail columns after the
// notes; a row short of its trailing columns reads them as blank.
TEST_P(AllPiece, TakesEveryRowAsDataWithItsOwnNumbers)
{
    const Format f = GetParam();
    Person head = thomas();
    head.status = "";
    head.book = "12";
    head.household = "7";
    head.member = "1";
    Person wife = thomas();
    wife.status = "Z";
    wife.household = "7";
    wife.member = "2";
    wife.forenames = "Hannah";
    wife.relationship = "Wife";
    wife.sex = "F";
    wife.age = "44";
    wife.occupation = "";
    wife.parish = "";  // not filled from the row before in this layout
    Person son = thomas();
    son.status = "X";
    son.household = "7";
    son.member = "3";
    son.forenames = "William";
    son.relationship = "Son";
    son.condition = "U";
    son.age = "17";
    son.district = "Cheddon";
    Person lodger = thomas();
    lodger.household = "12";
    lodger.member = "1";
    lodger.surname = "PELLOW";
    lodger.schedule = "2";

    std::string lodger_row = all_row(lodger, f.rlen);
    if (f.rlen > 256)  // the row stops after its notes: the tail columns read as blank
        lodger_row = all_row(lodger, 256);
    const std::string csv =
        rows({all_row(head, f.rlen), all_row(wife, f.rlen), all_row(son, f.rlen), lodger_row});
    const std::string output = "rg110123." + f.ext;
    std::vector<std::string> switches = f.switches;
    switches.insert(switches.begin(), "-a");
    const Outcome o = convert(csv, switches, "RG110123.CSV", output);

    std::vector<Record> want{as_read(head, 7, 1), as_read(wife, 7, 2), as_read(son, 7, 3),
                             as_read(lodger, 12, 1)};
    want[0].book = "12";
    want[2].status = 'X';
    want[3].district = f.rlen > 256 ? "-" : "";
    want[3].alt_county.clear();
    want[3].alt_birthplace.clear();

    // Nothing is filled down: the empty parish is missing, and the names that
    // change between rows of one page are reported.
    std::string messages = "Warning: row 1, initial household number = 7\n"
                           "Error: row 2, civil parish name missing\n"
                           "Warning: row 2, civil parish has changed in the middle of a page\n"
                           "Warning: row 3, civil parish has changed in the middle of a page\n";
    if (f.rlen > 256)
        messages += "Warning: row 3, Eccl. District has changed in the middle of a page\n"
                    "Warning: row 4, Eccl. District name missing\n"
                    "Warning: row 4, Eccl. District has changed in the middle of a page\n";
    const int warnings = count_of(messages, "Warning:");
    EXPECT_EQ(o.result.status, 8);
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, true, f), messages,
                                                    4, 12, output, true)));
    EXPECT_EQ(o.result.err, Target::get().text(console(1, 4, 4, 12, output, 1, warnings, "RG110123.erc")));
    expect_records(o.data, want, f.rlen);
}

INSTANTIATE_TEST_SUITE_P(Tabulon, AllPiece, ::testing::Values(kInCens, kCheckCens, kValdRev),
                         [](const auto& info) { return info.param.ext; });

// ===========================================================================
// One cell typed in a particular way: what reaches the record and the listing

struct CellCase {
    std::string name;
    std::string Person::*cell;  // the cell typed raw
    std::string raw;
    std::function<void(Record&)> expect;  // the record's change from the plain row
    std::string messages;                 // listing lines of the row (row 4)
};

void PrintTo(const CellCase& c, std::ostream* os)
{
    *os << c.name;
}

class CellTyping : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellTyping, ReachesTheRecordAndTheListing)
{
    const CellCase& c = GetParam();
    Person p = thomas();
    p.*c.cell = c.raw;
    const Outcome o = convert(header() + rows({ss_row(p, 256)}), {});

    Record want = as_read(thomas(), 1, 1);
    want.district.clear();
    want.alt_county.clear();
    want.alt_birthplace.clear();
    c.expect(want);
    const int errors = count_of(c.messages, "Error:");
    const int warnings = count_of(c.messages, "Warning:");
    EXPECT_EQ(o.result.status, errors ? 8 : warnings ? 4 : 0);
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, false, kInCens),
                                                    c.messages, 1, 1, "rg110123.dat")));
    EXPECT_EQ(o.result.err,
              Target::get().text(console(4, 4, 1, 1, "rg110123.dat", errors, warnings, "RG110123.erc")));
    expect_records(o.data, {want}, 256);
}

std::string too_long(int row, const std::string& field, std::size_t width)
{
    return "Error: row " + std::to_string(row) + ", field too long <" + field + ">, truncated by " +
           std::to_string(field.size() - width) + " to " + std::to_string(width) +
           " characters in the output file\n";
}

std::string invalid(int row, const std::string& character)
{
    return "Error: row " + std::to_string(row) + ", field contains an invalid character <" +
           character + ">\n";
}

const std::string kNul(1, '\0');

INSTANTIATE_TEST_SUITE_P(
    Tabulon, CellTyping,
    ::testing::Values(
        CellCase{"QuotedComma", &Person::surname, "\"ASHDOWN, JUN\"",
                 [](Record& r) { r.surname = "ASHDOWN, JUN"; }, ""},
        CellCase{"BlanksAroundQuotes", &Person::forenames, "  \"  Thomas\"  ",
                 [](Record&) {}, ""},
        CellCase{"DoubledQuotes", &Person::address, "\"The \"\"Old\"\" Mill\"",
                 [](Record& r) { r.address = "The \"Old\" Mill"; }, ""},
        CellCase{"DoubledQuotesClosingTheCell", &Person::occupation, "\"say \"\"hi\"\"\"",
                 [](Record& r) { r.occupation = "Say \"Hi\""; }, ""},  // name capitals
        CellCase{"TextAfterClosingQuote", &Person::address, "\"Church\"  Lane",
                 [](Record& r) { r.address = "Church Lane"; }, ""},
        CellCase{"EmptyQuotes", &Person::house, "\"\"", [](Record& r) { r.house = ""; }, ""},
        CellCase{"LeadingBackslashesDropped", &Person::house, "\\\\12",
                 [](Record& r) { r.house = "12"; }, ""},
        CellCase{"LaterBackslashKept", &Person::address, "Church\\Lane",
                 [](Record& r) { r.address = "Church\\lane"; }, ""},  // name capitals
        CellCase{"BlankRunsCollapse", &Person::address, "   Church    Lane   ",
                 [](Record& r) { r.address = "Church Lane"; }, ""},
        CellCase{"LoneSlashIsDash", &Person::occupation, "  /  ",
                 [](Record& r) { r.occupation = "-"; }, ""},
        CellCase{"TwoSlashesStay", &Person::occupation, "//",
                 [](Record& r) { r.occupation = "//"; }, ""},
        CellCase{"ExactWidthAccepted", &Person::surname, repeat('W', 24),
                 [](Record& r) { r.surname = repeat('W', 24); }, ""},
        CellCase{"OverLongCellCutAndFlagged", &Person::surname, repeat('W', 20) + "WOODS",
                 [](Record& r) {
                     r.surname = repeat('W', 20) + "WOOD";
                     r.name_flag = 'x';
                 },
                 too_long(4, repeat('W', 20) + "WOODS", 24)},
        CellCase{"OverLongCellBeforeTheFlagGroups", &Person::parish, "Merrowby cum Thornbury",
                 [](Record& r) { r.parish = "Merrowby Cum Thornbu"; },
                 too_long(4, "Merrowby cum Thornbury", 20)},
        CellCase{"OpenQuoteTakesTheRestOfTheRow", &Person::occupation, "\"Miller",
                 [](Record& r) {
                     r.occupation = "Miller,,-,Som,Merrowby,-,,,";
                     r.occupation_flag = 'x';
                     r.county = "UNK";
                     r.birthplace = "-";
                     r.birthplace_flag = 'x';
                 },
                 "Error: row 4, ends with incomplete field\nWarning: row 4, county code missing\n"},
        CellCase{"OpenQuoteInTheLastCell", &Person::notes, "\"Lodger",
                 [](Record& r) { r.notes = "Lodger"; }, "Error: row 4, ends with incomplete field\n"},
        CellCase{"InvalidByteKeptAndFlagged", &Person::forenames, "Tho" + kInvalid + "mas",
                 [](Record& r) {
                     r.forenames = "Tho" + kInvalid + "mas";
                     r.name_flag = 'x';
                 },
                 invalid(4, kInvalid) + "Warning: row 4, forename(s) = Tho" + kInvalid +
                     "mas contains unusual characters\n"},
        CellCase{"EachInvalidByteReported", &Person::forenames, kInvalid + "Tom\t",
                 [](Record& r) {
                     r.forenames = kInvalid + "tom\t";
                     r.name_flag = 'x';
                 },
                 invalid(4, kInvalid) + invalid(4, "\t") + "Warning: row 4, forename(s) = " + kInvalid +
                     "Tom\t contains unusual characters\n"},
        CellCase{"NulIsAnInvalidByte", &Person::surname, "ASH" + kNul + "DOWN",
                 [](Record& r) {
                     r.surname = "ASH" + kNul + "DOWN";
                     r.name_flag = 'x';
                 },
                 invalid(4, kNul) + "Warning: row 4, surname = ASH" + kNul + "DOWN contains unusual characters\n"},
        CellCase{"MessageKeepsTheWholeTextAfterANul", &Person::surname,
                 "AB" + kNul + repeat('C', 23),
                 [](Record& r) {
                     r.surname = "AB" + kNul + repeat('C', 21);
                     r.name_flag = 'x';
                 },
                 invalid(4, kNul) + too_long(4, "AB" + kNul + repeat('C', 23), 24) + "Warning: row 4, surname = AB" +
                     kNul + repeat('C', 21) + " contains unusual characters\n"},
        CellCase{"PercentSignsAreText", &Person::surname, "%s%s%s%s%s%s%s%n%n%n%d%d%d",
                 [](Record& r) {
                     r.surname = "%S%S%S%S%S%S%S%N%N%N%D%D";
                     r.name_flag = 'x';
                 },
                 too_long(4, "%s%s%s%s%s%s%s%n%n%n%d%d%d", 24) +
                     "Warning: row 4, surname = %s%s%s%s%s%s%s%n%n%n%d%d contains unusual characters\n"},
        CellCase{"AccentedLetterValid", &Person::forenames, "Ren" + std::string("\xe9") + "e",
                 [](Record& r) { r.forenames = "Ren" + std::string("\xe9") + "e"; },
                 "Warning: row 4, forename(s) = Ren\xe9" "e contains unusual characters\n"},  // not an ASCII letter
        CellCase{"InvalidOccupationSetsItsFlag", &Person::occupation, "Farm" + kInvalid,
                 [](Record& r) {
                     r.occupation = "Farm" + kInvalid;
                     r.occupation_flag = 'x';
                 },
                 invalid(4, kInvalid)},
        CellCase{"InvalidRelationshipSetsTheDetailFlag", &Person::relationship, "He" + kInvalid,
                 [](Record& r) {
                     r.relationship = "He" + kInvalid;
                     r.detail_flag = 'x';
                 },
                 invalid(4, kInvalid) + "Warning: row 4, relationship = He" + kInvalid +
                     " contains unusual characters\n"},
        CellCase{"InvalidCountySetsTheBirthplaceFlag", &Person::county, "S" + kInvalid + "M",
                 [](Record& r) {
                     r.county = "S" + kInvalid + "M";
                     r.birthplace_flag = 'x';
                 },
                 invalid(4, kInvalid) + "Warning: row 4, unrecognised county code S" + kInvalid + "M\n"},
        CellCase{"InvalidParishSetsNoFlag", &Person::parish, "Merr" + kInvalid + "wby",
                 [](Record& r) { r.parish = "Merr" + kInvalid + "wby"; },
                 invalid(4, kInvalid) + "Warning: row 4, parish = Merr" + kInvalid +
                     "wby contains unusual characters\n"},
        CellCase{"InvalidNotesSetNoFlag", &Person::notes, "Lodg" + kInvalid,
                 [](Record& r) { r.notes = "Lodg" + kInvalid; }, invalid(4, kInvalid)}),
    [](const auto& info) { return info.param.name; });

// An extraction error in a group whose flag column is empty still gives "x".
TEST(Tabulon, InvalidOccupationFlagsAnEmptyOccupationFlagColumn)
{
    Person p = thomas();
    p.occupation = "Farm" + kInvalid;
    p.occupation_flag = "";
    const Outcome o = convert(header() + rows({ss_row(p, 256)}), {});
    Record want = as_read(p, 1, 1);
    want.district.clear();
    want.alt_county.clear();
    want.alt_birthplace.clear();
    want.occupation_flag = 'x';
    EXPECT_EQ(o.result.status, 8);
    expect_records(o.data, {want}, 256);
}

// The ALL layout of record length 299 puts the columns after the birth place
// flag (disability, language, notes and the tail) in the birth place flag's
// group; with length 256 the notes come after the last group and set no flag.
TEST(Tabulon, AllLayoutTailColumnsFlagTheBirthplaceOnlyInLength299)
{
    for (const Format& f : {kInCens, kValdRev}) {
        SCOPED_TRACE(f.name);
        Person p = thomas();
        p.household = "1";
        p.member = "1";
        p.notes = "Lodg" + kInvalid;
        std::vector<std::string> switches = f.switches;
        switches.insert(switches.begin(), "-a");
        const std::string output = "rg110123." + f.ext;
        const Outcome o = convert(rows({all_row(p, f.rlen)}), switches, "RG110123.CSV", output);
        Record want = as_read(p, 1, 1);
        if (f.rlen == 256)
            want.district.clear(), want.alt_county.clear(), want.alt_birthplace.clear();
        else
            want.birthplace_flag = 'x';
        EXPECT_EQ(o.result.status, 8);
        EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, true, f),
                                                        invalid(1, kInvalid), 1, 1, output, true)));
        expect_records(o.data, {want}, f.rlen);
    }
}

// ===========================================================================
// Line ends, blank rows and row numbers

struct LineEndCase {
    std::string name;
    std::function<std::string(const std::vector<std::string>&)> join_lines;
};

void PrintTo(const LineEndCase& c, std::ostream* os)
{
    *os << c.name;
}

class LineEnds : public ::testing::TestWithParam<LineEndCase> {};

// LF, CR LF and a lone CR all end a row, header rows included, and a last row
// without any line end is still read: the same three records each time.
TEST_P(LineEnds, GiveTheSameRows)
{
    const std::vector<std::string> lines{"RG11 piece 123,",
                                         titles(25),
                                         "Transcribed by volunteer ABC",
                                         ss_row(thomas(), 256),
                                         ss_row(member("Hannah", "Wife", "M", "F", "44", ""), 256),
                                         ss_row(member("Ellen", "Dau", "", "F", "9", "Scholar"), 256)};
    const Outcome o = convert(GetParam().join_lines(lines), {});

    std::vector<Record> want{as_read(thomas(), 1, 1)};
    want.push_back(located_as(as_read(member("Hannah", "Wife", "M", "F", "44", ""), 1, 2), want[0]));
    want.push_back(
        located_as(as_read(member("Ellen", "Dau", "", "F", "9", "Scholar"), 1, 3), want[0]));
    for (Record& w : want)
        w.district.clear(), w.alt_county.clear(), w.alt_birthplace.clear();
    EXPECT_EQ(o.result.status, 0);
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, false, kInCens),
                                                    "", 3, 1, "rg110123.dat")));
    expect_records(o.data, want, 256);
}

std::string ended_by(const std::vector<std::string>& lines, const std::string& end, bool last = true)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += lines[i] + (i + 1 < lines.size() || last ? end : "");
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Tabulon, LineEnds,
    ::testing::Values(
        LineEndCase{"Lf", [](const auto& l) { return ended_by(l, "\n"); }},
        LineEndCase{"CrLf", [](const auto& l) { return ended_by(l, "\r\n"); }},
        LineEndCase{"Cr", [](const auto& l) { return ended_by(l, "\r"); }},
        LineEndCase{"LastRowUnterminated", [](const auto& l) { return ended_by(l, "\n", false); }},
        LineEndCase{"CrLfLastRowUnterminated",
                    [](const auto& l) { return ended_by(l, "\r\n", false); }},
        LineEndCase{"Mixed",
                    [](const auto& l) {
                        return l[0] + "\r\n" + l[1] + "\r" + l[2] + "\n" + l[3] + "\r" + l[4] +
                               "\r\n" + l[5];
                    }}),
    [](const auto& info) { return info.param.name; });

class BlankRows : public ::testing::TestWithParam<bool> {};

// Empty lines, rows of commas, blanks and empty quotes, and the empty row between
// two CRs are skipped with a warning naming their own row; later messages keep
// the physical row number, blank rows give no record and leave the household
// numbering alone; a row whose only content is a lone slash is not blank. With
// the quiet switch the blank rows are skipped silently.
TEST_P(BlankRows, AreSkippedAndKeepRowNumbers)
{
    const bool quiet = GetParam();
    Person wife = member("Hannah", "Wife", "M", "F", "44", "");
    Person son = member("William", "Son", "U", "M", "17", "Plough Boy");
    son.surname = repeat('A', 25);
    const std::string csv = header() + ss_row(thomas(), 256) + "\n" +  // row 4
                            "\n" +                                    // row 5
                            ",,,,,,,,,,,,,,,,,,,,,,,,\n" +            // row 6
                            "  ,  , ,\n" +                            // row 7
                            "\"\",\"\"\r\r" +                         // rows 8 and 9
                            ss_row(wife, 256) + "\n" +                // row 10
                            ss_row(son, 256) + "\n" +                 // row 11
                            " / \n";                                  // row 12
    std::vector<std::string> switches;
    if (quiet)
        switches.push_back("-q");
    const Outcome o = convert(csv, switches);

    std::string messages;
    if (!quiet)
        for (int row : {5, 6, 7, 8, 9})
            messages += "Warning: row " + std::to_string(row) + " blank, ignored\n";
    messages += too_long(11, repeat('A', 25), 24);
    if (!quiet)  // the lone slash stands for a parish of "-", and no person
        messages += "Warning: row 12, civil parish has changed in the middle of a page\n"
                    "Warning: row 12, surname missing\n"
                    "Warning: row 12, relationship missing\n"
                    "Warning: row 12, sex marker missing\n"
                    "Warning: row 12, county code missing\n";

    std::vector<Record> want{as_read(thomas(), 1, 1)};
    want.push_back(located_as(as_read(wife, 1, 2), want[0]));
    Record r = located_as(as_read(son, 1, 3), want[0]);
    r.surname = repeat('A', 24);
    r.name_flag = 'x';
    want.push_back(r);
    r = located_as(Record{}, want[0]);
    r.household = 1;
    r.member = 4;
    r.parish = "-";
    r.surname = r.forenames = r.relationship = r.birthplace = "-";
    r.name_flag = r.detail_flag = r.birthplace_flag = 'x';
    r.condition = r.sex = r.occupation_flag = '-';
    r.age = "999";
    r.age_units = 'y';
    r.county = "UNK";
    want.push_back(r);
    for (Record& w : want)
        w.district.clear(), w.alt_county.clear(), w.alt_birthplace.clear();

    EXPECT_EQ(o.result.status, 8);
    EXPECT_EQ(o.listing,
              Target::get().text(listing("RG110123.CSV",
                                         description(1881, false, kInCens, quiet ? ", QUIET" : ""),
                                         messages, 4, 1, "rg110123.dat")));
    EXPECT_EQ(o.result.err, Target::get().text(console(4, 12, 4, 1, "rg110123.dat", 1,
                                                       quiet ? -1 : 10, "RG110123.erc")));
    expect_records(o.data, want, 256);
}

INSTANTIATE_TEST_SUITE_P(Tabulon, BlankRows, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Quiet" : "Warned"; });

// A row is a whole line, however long. A 1000-character Notes cell is one
// field too long in one record, and the rows after it keep their numbers; so
// does a row longer than the reader's buffer, and a long header row (row 3,
// which is not read for anything) is still one header row.
TEST(Tabulon, LongRowIsOneRowAndFieldTooLong)
{
    Person head = thomas();
    head.notes = repeat('n', 1000);
    const Person wife = member("Hannah", "Wife", "M", "F", "44", "");
    Person son = member("William", "Son", "U", "M", "17", "");
    son.notes = repeat('m', 70000);
    const std::string csv = rows({"RG11 piece 123,", titles(25), "Transcribed by " + repeat('v', 2000)}) +
                            rows({ss_row(head, 256), ss_row(wife, 256), ss_row(son, 256)});

    const Outcome o = convert(csv, {});
    const std::string messages = too_long(4, head.notes, 44) + too_long(6, son.notes, 44);
    EXPECT_EQ(o.result.status, 8);
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, false, kInCens),
                                                    messages, 3, 1, "rg110123.dat")));
    EXPECT_EQ(o.result.err, Target::get().text(console(4, 6, 3, 1, "rg110123.dat", 2, 0, "RG110123.erc")));
    std::vector<Record> want{as_read(head, 1, 1), as_read(wife, 1, 2), as_read(son, 1, 3)};
    want[0].notes.resize(44);
    want[1] = located_as(want[1], want[0]);
    want[2] = located_as(want[2], want[0]);
    want[2].notes.resize(44);
    for (Record& w : want)
        w.district.clear(), w.alt_county.clear(), w.alt_birthplace.clear();
    expect_records(o.data, want, 256);
}

// ===========================================================================
// DELETED rows, the schedule's three-digit form and values too wide for the record

class Deleted : public ::testing::TestWithParam<bool> {};

// Only notes of exactly DELETED mark a row: it is warned about (unless quiet),
// gets status D and is still written with its notes.
TEST_P(Deleted, MarksOnlyTheExactWord)
{
    const bool quiet = GetParam();
    std::vector<Person> people{thomas(), member("Hannah", "Wife", "M", "F", "44", ""),
                               member("William", "Son", "U", "M", "17", ""),
                               member("Ellen", "Dau", "", "F", "9", "")};
    people[0].notes = "DELETED";
    people[1].notes = "deleted";
    people[2].notes = "DELETED twice";
    people[3].notes = "Deleted";
    std::vector<std::string> lines;
    for (const Person& p : people)
        lines.push_back(ss_row(p, 256));
    const Outcome o = convert(header() + rows(lines), quiet ? std::vector<std::string>{"-q"}
                                                            : std::vector<std::string>{});

    std::vector<Record> want{as_read(people[0], 1, 1)};
    want[0].status = 'D';
    for (int i = 1; i < 4; ++i)
        want.push_back(located_as(as_read(people[i], 1, i + 1), want[0]));
    for (Record& w : want)
        w.district.clear(), w.alt_county.clear(), w.alt_birthplace.clear();
    EXPECT_EQ(o.result.status, quiet ? 0 : 4);
    EXPECT_EQ(o.listing, Target::get().text(listing(
                             "RG110123.CSV", description(1881, false, kInCens, quiet ? ", QUIET" : ""),
                             quiet ? "" : "Warning: row 4, is marked DELETED\n", 4, 1, "rg110123.dat")));
    expect_records(o.data, want, 256);
}

INSTANTIATE_TEST_SUITE_P(Tabulon, Deleted, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Quiet" : "Warned"; });

// Schedules of 1000 to 1999 are written as the value less 1000 with "!", also
// when carried to a continuing row; above 1999 as "999" with an error; a
// four-character schedule or age below 1000 as its plain value; an age above 999
// as "999" with the detail flag raised.
TEST(Tabulon, SchedulesAndAgesAreHeldToThreeDigits)
{
    struct Line {
        std::string schedule, age;
    };
    const std::vector<Line> typed{{"1012", "0012"}, {"", "1234"}, {"1999", "40"}, {"2000", "41"},
                                  {"0012", "42"},  {"999", "43"}, {"12", "44"}};
    std::vector<std::string> lines;
    std::vector<Person> people;
    for (const Line& l : typed) {
        Person p = member("John", "Head", "M", "M", l.age, "");
        p.schedule = l.schedule;
        if (people.empty())
            p.parish = "Merrowby", p.ed = "1", p.folio = "4", p.page = "1", p.uninhabited = "-";
        people.push_back(p);
        lines.push_back(ss_row(p, 256));
    }
    const Outcome o = convert(header() + rows(lines), {});

    std::vector<Record> want;
    const long households[] = {1, 1, 2, 3, 4, 5, 6};
    const long members[] = {1, 2, 1, 1, 1, 1, 1};
    const char* schedules[] = {"12", "12", "999", "999", "12", "999", "12"};
    const char suffixes[] = {'!', '!', '!', ' ', ' ', ' ', ' '};
    const char* ages[] = {"12", "999", "40", "41", "42", "43", "44"};
    for (std::size_t i = 0; i < typed.size(); ++i) {
        Record r = as_read(people[i], households[i], members[i]);
        if (i > 0)
            r.parish = "Merrowby", r.ed = "1", r.folio = "4", r.page = "1";
        if (i == 1)  // only a continuing row takes the flag from the row before
            r.uninhabited = '-';
        r.schedule = schedules[i];
        r.schedule_suffix = suffixes[i];
        r.age = ages[i];
        if (i <= 1)  // married at 12; aged 1234
            r.detail_flag = 'x';
        want.push_back(r);
    }
    EXPECT_EQ(o.result.status, 8);
    // The sequence compares the schedules as typed, 12! and 1012 alike.
    const std::string messages = "Warning: row 4, first schedule of ED = 1012\n"
                                 "Warning: row 4, married/widowed person age under 14y\n"
                                 "Warning: row 5, Head of household is not the first entry in the schedule\n"
                                 "Warning: row 5, age more than 120y\n"
                                 "Warning: row 6, schedule number = 1999 not sequential\n"
                                 "Error: row 7, schedule > 1999, \n"
                                 "Warning: row 8, schedule number = 0012 not sequential\n"
                                 "Warning: row 9, schedule number = 999 not sequential\n"
                                 "Warning: row 10, schedule number = 12 not sequential\n";
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, false, kInCens),
                                                    messages, 7, 6, "rg110123.dat")));
    expect_records(o.data, want, 256);
}

// ALL layout: household and member numbers are read as numbers (leading sign,
// digits up to the first other character); one that does not fit its record
// positions (a negative one) is written as nines and reported after the row's
// other messages, household first.
TEST(Tabulon, AllLayoutHouseholdAndMemberTooLargeForTheRecord)
{
    struct Numbers {
        std::string household, member;
        long household_written, member_written;
    };
    const std::vector<Numbers> typed{{"-5", "1", 999999, 1},     {"7", "-12", 7, 9999},
                                     {"-3", "-4", 999999, 9999}, {"1234567", "12345", 123456, 1234},
                                     {"7a", "x", 7, 0},          {"+8", "2", 8, 2}};
    std::vector<std::string> lines;
    std::vector<Record> want;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        Person p = thomas();
        p.household = typed[i].household;
        p.member = typed[i].member;
        if (i == 2)
            p.surname = repeat('S', 25);
        lines.push_back(all_row(p, 256));
        Record r = as_read(p, typed[i].household_written, typed[i].member_written);
        r.district.clear(), r.alt_county.clear(), r.alt_birthplace.clear();
        if (i == 2)
            r.surname = repeat('S', 24), r.name_flag = 'x';
        want.push_back(r);
    }
    const Outcome o = convert(rows(lines), {"-a"});
    // A sign makes a number not numeric; every row repeats schedule 1 in a new household.
    const std::string same = " consecutive schedule numbers (1) are the same\n";
    const std::string messages =
        "Error: row 1, household number = -5 not numeric\n"
        "Warning: row 1, initial household number = -5\n"
        "Error: row 1, household number = -5 too large for the output record\n"
        "Error: row 2, household member number = -12 not numeric\n"
        "Warning: row 2," + same +
        "Error: row 2, household member number = -12 too large for the output record\n" +
        too_long(3, repeat('S', 25), 24) +
        "Error: row 3, household number = -3 not numeric\n"
        "Error: row 3, household member number = -4 not numeric\n"
        "Warning: row 3," + same +
        "Error: row 3, household number = -3 too large for the output record\n"
        "Error: row 3, household member number = -4 too large for the output record\n" +
        too_long(4, "1234567", 6) + too_long(4, "12345", 4) + "Warning: row 4," + same +
        "Error: row 5, household number = 7a not numeric\n"
        "Error: row 5, household member number = x not numeric\n"
        "Warning: row 5," + same +
        "Error: row 6, household number = +8 not numeric\n"
        "Warning: row 6," + same;
    EXPECT_EQ(o.result.status, 8);
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, true, kInCens),
                                                    messages, 6, 123456, "rg110123.dat", true)));
    expect_records(o.data, want, 256);
}

// ALL layout: blank rows are skipped with a warning and left out of the count of
// records; header-like first rows are data and their invalid bytes are reported.
TEST(Tabulon, AllLayoutCountsRecordsWrittenAndReportsRowOne)
{
    Person p = thomas();
    p.household = "1";
    p.member = "1";
    Person q = p;
    q.member = "2";
    q.forenames = "Hann" + kInvalid + "h";
    const Outcome o = convert(rows({all_row(q, 256), "", ",,,", all_row(p, 256)}), {"-a"});
    EXPECT_EQ(o.result.status, 8);
    EXPECT_EQ(o.listing,
              Target::get().text(listing(
                  "RG110123.CSV", description(1881, true, kInCens),
                  invalid(1, kInvalid) + "Warning: row 1, initial household member number = 2\n"
                                         "Warning: row 1, forename(s) = Hann" + kInvalid +
                      "h contains unusual characters\n"
                      "Warning: row 2 blank, ignored\nWarning: row 3 blank, ignored\n"
                      "Warning: row 4, household member number = 1 not sequential\n"
                      "Warning: row 4, Head of household is not the first entry in the schedule\n",
                  2, 1, "rg110123.dat", true)));
    EXPECT_EQ(o.result.err, Target::get().text(console(1, 4, 2, 1, "rg110123.dat", 1, 6, "RG110123.erc")));
    EXPECT_EQ(o.data.size(), 2u * 256);
}

class BuildingCode : public ::testing::TestWithParam<std::string> {};

// A continuing row with an empty uninhabited cell takes the flag of the row
// before, except a building code (u, b, n, v in either case): the row after a
// building must begin a household, so it draws the error and a forced break
// instead. ED and folio keep their suffixes apart.
TEST_P(BuildingCode, IsNotFilledDown)
{
    const std::string code = GetParam();
    Person building = thomas();
    building.uninhabited = code;
    building.ed = "3a";
    building.folio = "2b";
    Person next = member("Hannah", "Wife", "M", "F", "44", "");
    const Outcome o = convert(header() + rows({ss_row(building, 256), ss_row(next, 256)}), {});

    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(code[0])));
    const bool is_building = std::string("ubnv").find(lower) != std::string::npos;
    std::vector<Record> want{as_read(building, 1, 1)};
    want[0].ed = "3", want[0].ed_suffix = 'a';
    want[0].folio = "2", want[0].folio_suffix = 'b';
    want.push_back(located_as(as_read(next, 1, 2), want[0]));
    std::string messages;
    if (is_building) {
        Record& b = want[0];
        b.uninhabited = lower;
        b.surname = lower == 'u' ? "Uninhabited" : lower == 'b' ? "Building in Progress"
                    : lower == 'n' ? "Schedule not used" : "Visiting";
        b.forenames = b.relationship = b.age = b.occupation = b.county = b.birthplace = "";
        b.condition = b.sex = b.age_units = ' ';
        b.name_flag = b.detail_flag = b.occupation_flag = b.birthplace_flag = '-';
        // The next row is forced into a household of its own.
        Record& w = want[1];
        w.household = 2, w.member = 1;
        w.schedule = "0";
        w.house = "";
        w.address = "-";
        w.uninhabited = 'x';
        messages = "Error: row 5, the first record after an uninhabited building must be a new household\n";
    } else if (lower == 'z') {
        want[0].uninhabited = want[1].uninhabited = 'x';
        messages = "Warning: row 4, uninhabited flag = z invalid value\n";
    } else {
        want[1].uninhabited = lower;
    }
    for (Record& w : want)
        w.district.clear(), w.alt_county.clear(), w.alt_birthplace.clear();
    EXPECT_EQ(o.result.status, is_building ? 8 : lower == 'z' ? 4 : 0);
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, false, kInCens),
                                                    messages, 2, is_building ? 2 : 1, "rg110123.dat")));
    expect_records(o.data, want, 256);
}

INSTANTIATE_TEST_SUITE_P(Tabulon, BuildingCode,
                         ::testing::Values("u", "U", "b", "B", "n", "N", "v", "V", "x", "-", "z"),
                         [](const auto& info) {
                             const char c = info.param[0];
                             return std::string(std::isupper(static_cast<unsigned char>(c)) ? "Upper"
                                                                                             : "Lower") +
                                    (std::isalpha(static_cast<unsigned char>(c)) ? std::string(1, c)
                                                                                  : "Dash");
                         });

// A first data row that leaves its location empty takes the start values: XX,
// 99, 9999 (0 for a Scottish piece), 999, 999, the flag "-", the Eccl. District
// "-", and stays in household 0.
TEST(Tabulon, FirstRowWithoutLocationTakesTheStartValues)
{
    struct Case {
        std::string input, output;
        const Format* format;
        std::string folio;
        int year;
    };
    for (const Case& c : {Case{"RG110123.CSV", "rg110123.dat", &kInCens, "9999", 1881},
                          Case{"RG110123.CSV", "rg110123.val", &kCheckCens, "9999", 1881},
                          Case{"RS6110456.CSV", "rs611456.dat", &kInCens, "0", 1861}}) {
        SCOPED_TRACE(c.input + " " + c.format->name);
        const Person p = member("John", "Head", "M", "M", "50", "");
        const Outcome o = convert(header(c.format->titles) + rows({ss_row(p, c.format->rlen)}),
                                  c.format->switches, c.input, c.output);
        Record want = as_read(p, 0, 1);
        want.district = c.format->rlen > 256 ? "-" : "";
        want.ed = "99";
        want.folio = c.folio;
        want.page = "999";
        want.schedule = "999";
        want.uninhabited = '-';
        want.address = "-";
        // The initial-value errors; the parish, given name capitals (Xx), no
        // longer matches the XX it inherited on what counts as the same page.
        const bool scottish = c.input[1] == 'S';
        const std::string messages =
            std::string("Warning: row 4, initial household number = 0\n"
                        "Error: row 4, initial civil parish name not set\n"
                        "Error: row 4, initial ED not set\n") +
            (scottish ? "" : "Error: row 4, initial folio number not set\n") +
            "Error: row 4, initial page number not set\n"
            "Error: row 4, initial schedule number not set\n"
            "Warning: row 4, civil parish has changed in the middle of a page\n"
            "Warning: row 4, Head of household is not the first entry in the schedule\n";
        want.parish = "Xx";
        EXPECT_EQ(o.result.status, 8);
        EXPECT_EQ(o.listing, Target::get().text(listing(c.input, description(c.year, false, *c.format),
                                                        messages, 1, 0, c.output)));
        expect_records(o.data, {want}, c.format->rlen);
    }
}

// An English 1841 piece in record length 299 reads a book column after the notes;
// for other pieces a 29th column is ignored.
TEST(Tabulon, BookColumnOfLength299Is1841EnglishOnly)
{
    Person p = thomas();
    p.book = "3";
    Person q = member("Hannah", "Wife", "M", "F", "44", "");
    q.book = "4";
    const std::string body = rows({ss_row(p, 299, true), ss_row(q, 299, true)});
    for (const bool english_1841 : {true, false}) {
        SCOPED_TRACE(english_1841 ? "HO107" : "RG11");
        const std::string input = english_1841 ? "HO107123.CSV" : "RG110123.CSV";
        const std::string output = english_1841 ? "ho107123.vld" : "rg110123.vld";
        const Outcome o = convert(header(29, "Piece", "7") + body, {"-d", "-q"}, input, output);
        std::vector<Record> want{as_read(p, 1, 1)};
        want.push_back(located_as(as_read(q, 1, 2), want[0]));
        want[0].book = english_1841 ? "3" : "";
        want[1].book = english_1841 ? "4" : "";
        if (english_1841)
            want = {in_1841(want[0]), in_1841(want[1])};
        EXPECT_EQ(o.result.status, 0);
        expect_records(o.data, want, 299);
    }
}

// In the SS-CENS layout of length 299 the alternate county and birth place join
// the birth place flag's group; the Eccl. District, read before the groups, sets
// no flag.
TEST(Tabulon, AlternateBirthplaceJoinsTheBirthplaceFlagGroup)
{
    Person p = thomas();
    p.district = "Thorn" + kInvalid;
    p.alt_birthplace = "Tiver" + kInvalid + "on";
    const Outcome o = convert(header(28) + rows({ss_row(p, 299)}), {"-d"}, "RG110123.CSV",
                              "rg110123.vld");
    Record want = as_read(p, 1, 1);
    want.birthplace_flag = 'x';
    EXPECT_EQ(o.result.status, 8);
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, false, kValdRev),
                                                    invalid(4, kInvalid) + invalid(4, kInvalid) +
                                                        "Warning: row 4, Eccl. District = Thorn" + kInvalid +
                                                        " contains unusual characters\n"
                                                        "Warning: row 4, alternate birth place = Tiver" +
                                                        kInvalid + "on contains unusual characters\n",
                                                    1, 1, "rg110123.vld")));
    expect_records(o.data, {want}, 299);
}

// A line end inside quotes ends the row: the open quote is reported and the rest
// of the cell begins the next row, whose cells then fall into the wrong columns.
TEST(Tabulon, QuotedCellTakesInALineBreak)
{
    Person p = thomas();
    p.address = "\"Church\nLane\"";
    const Outcome o = convert(header() + rows({ss_row(p, 256)}), {});
    EXPECT_EQ(o.result.status, 4);
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, false, kInCens),
                                                    "Warning: row 4, line break inside a cell replaced by a blank\n",
                                                    1, 1, "rg110123.dat")));
    ASSERT_EQ(o.data.size(), 256u);
    EXPECT_EQ(o.data.substr(57, 30), text_field("Church Lane", 30));
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
// Header rows

struct TitleCase {
    int count;
    std::vector<std::string> switches;
    bool accepted;
};

void PrintTo(const TitleCase& c, std::ostream* os)
{
    *os << c.count << " titles with";
    for (const auto& s : c.switches)
        *os << " " << s;
}

class TitleCount : public ::testing::TestWithParam<TitleCase> {};

// Row 2 must hold 25, 26 or 28-29 non-blank titles for record lengths 256, 276
// and 299; otherwise the run stops before the output file is made.
TEST_P(TitleCount, MustAgreeWithTheRecordLength)
{
    const TitleCase& c = GetParam();
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", header(c.count) + rows({ss_row(thomas(), 256)}));
    std::vector<std::string> args = c.switches;
    args.push_back("RG110123.CSV");
    const e2e::Result r = e2e::run("tabulon", args, "", dir.path());
    const std::string listed = e2e::read_file(dir / "RG110123.erc");
    if (c.accepted) {
        EXPECT_NE(r.status, 12);
        EXPECT_EQ(listed.find("Fatal"), std::string::npos) << listed;
        return;
    }
    EXPECT_EQ(r.status, 12);
    EXPECT_EQ(listed, Target::get().text("Fatal: row 2, File type switch does not match number of "
                                         "columns in data (" +
                                         std::to_string(std::min(c.count, 30)) +
                                         ")\n\tall the titles in row 2 must be non-blank\n"));
    EXPECT_EQ(r.err, Target::get().text("Fatal: File type switch does not match number of columns in "
                                        "data\n\tall the headers in row 2 must be non-blank\n"));
    for (const char* ext : {"dat", "val", "vld"})
        EXPECT_FALSE(e2e::exists(dir / (std::string("rg110123.") + ext)));
}

INSTANTIATE_TEST_SUITE_P(Tabulon, TitleCount,
                         ::testing::Values(TitleCase{25, {}, true}, TitleCase{26, {}, false},
                                           TitleCase{24, {}, false}, TitleCase{25, {"-c"}, false},
                                           TitleCase{26, {"-c"}, true}, TitleCase{27, {"-c"}, false},
                                           TitleCase{27, {"-d"}, false}, TitleCase{28, {"-d"}, true},
                                           TitleCase{29, {"-d"}, true}, TitleCase{30, {"-d"}, false},
                                           TitleCase{31, {"-d"}, false},
                                           TitleCase{29, {}, false}));

// Counting stops at the first blank title; a comma ending row 2 adds no title,
// whatever the line end.
TEST(Tabulon, TitleCountStopsAtTheFirstBlankAndIgnoresATrailingComma)
{
    const std::string row = ss_row(thomas(), 256);
    std::string gap = titles(25);
    gap.replace(gap.find("Title 10"), 8, "");
    struct Case {
        std::string csv;
        int status;
    };
    for (const Case& c :
         {Case{"RG11,\n" + gap + "\nrow 3\n" + row + "\n", 12},
          Case{"RG11,\n" + titles(25) + ",\nrow 3\n" + row + "\n", 0},
          Case{"RG11,\r\n" + titles(25) + ",\r\nrow 3\r\n" + row + "\r\n", 0},
          Case{"RG11,\r" + titles(25) + ",\rrow 3\r" + row + "\r", 0}}) {
        const Outcome o = convert(c.csv, {});
        EXPECT_EQ(o.result.status, c.status) << c.csv;
        if (c.status == 12) {
            EXPECT_EQ(o.listing, Target::get().text(
                                     "Fatal: row 2, File type switch does not match number of "
                                     "columns in data (9)\n\tall the titles in row 2 must be non-blank\n"));
        }
    }
}

struct ShortFileCase {
    std::string name;
    std::string csv;
    std::string listed, said;
};

void PrintTo(const ShortFileCase& c, std::ostream* os)
{
    *os << c.name;
}

class ShortFile : public ::testing::TestWithParam<ShortFileCase> {};

// A file that runs out before its third header row ends the run; three header
// rows and nothing else convert to an empty data file.
TEST_P(ShortFile, StopsAtTheMissingHeaderRow)
{
    const ShortFileCase& c = GetParam();
    const Outcome o = convert(c.csv, {});
    EXPECT_EQ(o.result.status, 12);
    EXPECT_EQ(o.listing, Target::get().text(c.listed));
    EXPECT_EQ(o.result.err, Target::get().text(c.said));
    EXPECT_FALSE(o.has_data);
}

const std::string kEmptyListed = "Fatal: row 1, No data in file, it appears to be empty\n";
const std::string kEmptySaid = "Fatal: No data in file, it appears to be empty\n";
const std::string kOneListed = "Fatal: row 2, No data in file, only one header row was found\n";
const std::string kOneSaid = "Fatal: No data in file, only one header row was found\n";
const std::string kTwoListed = "Fatal: row 3, No data in file, only two header rows were found\n";
const std::string kTwoSaid = "Fatal: No data in file, only two header rows were found\n";

INSTANTIATE_TEST_SUITE_P(
    Tabulon, ShortFile,
    ::testing::Values(
        ShortFileCase{"Empty", "", kEmptyListed, kEmptySaid},
        ShortFileCase{"OneRowUnended", "RG11 piece 123,", kEmptyListed, kEmptySaid},
        ShortFileCase{"OneRow", "RG11 piece 123,\n", kOneListed, kOneSaid},
        ShortFileCase{"OneRowCrLf", "RG11 piece 123,\r\n", kOneListed, kOneSaid},
        ShortFileCase{"TwoRowsSecondUnended", "RG11 piece 123,\n" + titles(25), kOneListed,
                      kOneSaid},
        ShortFileCase{"TwoRows", "RG11 piece 123,\n" + titles(25) + "\n", kTwoListed, kTwoSaid},
        ShortFileCase{"TwoRowsCrLf", "RG11 piece 123,\r\n" + titles(25) + "\r\n", kTwoListed,
                      kTwoSaid},
        ShortFileCase{"ThirdRowUnended", "RG11 piece 123,\n" + titles(25) + "\nrow 3", kTwoListed,
                      kTwoSaid}),
    [](const auto& info) { return info.param.name; });

TEST(Tabulon, ThreeHeaderRowsAloneGiveAnEmptyDataFile)
{
    const Outcome o = convert(header(), {});
    EXPECT_EQ(o.result.status, 0);
    EXPECT_TRUE(o.has_data);
    EXPECT_EQ(o.data, "");
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, false, kInCens),
                                                    "", 0, 0, "rg110123.dat")));
    EXPECT_EQ(o.result.err, Target::get().text(console(4, 3, 0, 0, "rg110123.dat", 0, 0, "RG110123.erc")));
}

struct HeaderCase {
    std::string name;
    std::string input;  // file name
    std::string a1, b1;
    std::vector<std::string> switches;
    std::string before;  // listing lines ahead of its header
    std::string after;   // listing lines after the run description
    std::string book;    // positions 2-5 of the record
    int year;
};

void PrintTo(const HeaderCase& c, std::ostream* os)
{
    *os << c.name;
}

class HeaderCells : public ::testing::TestWithParam<HeaderCase> {};

// Cell A1 must name a piece; cell B1 is the book number of an English 1841
// piece, warned about and dropped for any other piece.
TEST_P(HeaderCells, AreCheckedAndGiveTheBook)
{
    const HeaderCase& c = GetParam();
    const std::string output = base_of(c.input) == "HS410123"   ? "hs410123.dat"
                               : base_of(c.input) == "RG090045" ? "rg090045.dat"
                               : base_of(c.input) == "HO107123" ? "ho107123.dat"
                                                                : "rg110123.dat";
    const Outcome o = convert(header(25, c.a1, c.b1) + rows({ss_row(thomas(), 256)}), c.switches,
                              c.input, output);
    const bool quiet = !c.switches.empty();
    const int warnings = count_of(c.before + c.after, "Warning:");
    EXPECT_EQ(o.result.status, warnings ? 4 : 0);
    EXPECT_EQ(o.listing,
              Target::get().text(listing(c.input, description(c.year, false, kInCens, quiet ? ", QUIET" : ""),
                                         c.after, 1, 1, output, false, c.before)));
    Record want = as_read(thomas(), 1, 1);
    want.district.clear(), want.alt_county.clear(), want.alt_birthplace.clear();
    want.book = c.book;
    if (c.year == 1841)
        want = in_1841(want);
    expect_records(o.data, {want}, 256);
}

const std::string kNotSet = "Warning: Book numbers not set\n";
const std::string kOldFormat = "Warning: Old format file, Book numbers not in use\n";
const std::string kBadA1 = "Warning: Cell A1 doesn't contain a valid piece number\n\n";

INSTANTIATE_TEST_SUITE_P(
    Tabulon, HeaderCells,
    ::testing::Values(
        HeaderCase{"A1LowerCasePiece", "RG110123.CSV", "rg11 piece 123", "", {}, "", "", "", 1881},
        HeaderCase{"A1Scottish", "RG110123.CSV", "SCT 1881 piece 3", "", {}, "", "", "", 1881},
        HeaderCase{"A1HsPiece", "RG110123.CSV", "hs4 12", "", {}, "", "", "", 1881},
        HeaderCase{"A1NoPiece", "RG110123.CSV", "Piece 123", "", {}, kBadA1, "", "", 1881},
        HeaderCase{"A1Empty", "RG110123.CSV", "", "", {}, kBadA1, "", "", 1881},
        HeaderCase{"A1TooShortForSct", "RG110123.CSV", "SC", "", {}, kBadA1, "", "", 1881},
        HeaderCase{"A1InvalidByteNotReported", "RG110123.CSV", "RG11 piece 1" + kInvalid, "", {},
                   "", "", "", 1881},
        HeaderCase{"A1QuietNoWarning", "RG110123.CSV", "Piece 123", "", {"-q"}, "", "", "", 1881},
        HeaderCase{"BookFromB1", "HO107123.CSV", "HO107 piece 123", "7", {}, "", "", "7", 1841},
        HeaderCase{"BookEmpty", "HO107123.CSV", "HO107 piece 123", "", {}, "", kNotSet, "0", 1841},
        HeaderCase{"BookZero", "HO107123.CSV", "HO107 piece 123", "0", {}, "", kNotSet, "0", 1841},
        HeaderCase{"Book100", "HO107123.CSV", "HO107 piece 123", "100", {}, "", "", "100", 1841},
        HeaderCase{"Book150", "HO107123.CSV", "HO107 piece 123", "150", {}, "", kOldFormat, "150",
                   1841},
        HeaderCase{"BookNonNumeric", "HO107123.CSV", "HO107 piece 123", "12a", {},
                   "Warning: cell B1 contains a non-numeric book number 12a\n\n",
                   "Warning: row 4, book number = 12a not numeric\n", "12a", 1841},
        HeaderCase{"BookLetters", "HO107123.CSV", "HO107 piece 123", "ab", {},
                   "Warning: cell B1 contains a non-numeric book number ab\n\n",
                   kNotSet + "Warning: row 4, book number = ab not numeric\n", "ab", 1841},
        HeaderCase{"BookWithNul", "HO107123.CSV", "HO107 piece 123", "1" + kNul + "2", {},
                   "Warning: cell B1 contains a non-numeric book number 1" + kNul + "2\n\n",
                   "Warning: row 4, book number = 1" + kNul + "2 not numeric\n", "1" + kNul + "2", 1841},
        HeaderCase{"BookWithPercent", "HO107123.CSV", "HO107 piece 123", "%s%n", {},
                   "Warning: cell B1 contains a non-numeric book number %s%n\n\n",
                   kNotSet + "Warning: row 4, book number = %s%n not numeric\n", "%s%n", 1841},
        HeaderCase{"BookQuiet", "HO107123.CSV", "HO107 piece 123", "", {"-q"}, "", "", "0", 1841},
        HeaderCase{"BookScottish1841", "HS410123.CSV", "HS4 piece 123", "5", {},
                   "Warning: ENG 1841 book number 5 in cell B1 ignored for SCT piece\n\n", "", "",
                   1841},
        HeaderCase{"Book1861", "RG090045.CSV", "RG9 piece 45", "3", {},
                   "Warning: 1841 book number 3 in cell B1 ignored for 1861 piece\n\n", "", "", 1861},
        HeaderCase{"Book1861Quiet", "RG090045.CSV", "RG9 piece 45", "3", {"-q"}, "", "", "", 1861}),
    [](const auto& info) { return info.param.name; });

// Cells of header rows 1 and 2 that are too long, or end inside quotes, are
// errors of their own row and stand ahead of the listing's header.
TEST(Tabulon, HeaderRowExtractionErrorsStandBeforeTheListingHeader)
{
    const std::string a1 = "rg11 piece 123 transcribed by ABC";  // 33 characters, A1 takes 30
    std::string long_titles = titles(25);
    const std::string long_title = "Title 1 " + repeat('t', 50);
    long_titles.replace(0, 7, long_title);
    const std::string csv = a1 + ",\n" + long_titles + "\n\"row 3\n" + ss_row(thomas(), 256) + "\n";
    const Outcome o = convert(csv, {});
    EXPECT_EQ(o.result.status, 8);
    EXPECT_EQ(o.listing, Target::get().text(listing(
                             "RG110123.CSV", description(1881, false, kInCens), "", 1, 1,
                             "rg110123.dat", false, too_long(1, a1, 30) + too_long(2, long_title, 50))));

    const Outcome open = convert("\"RG11 piece 123\n" + titles(25) + "\nrow 3\n", {});
    EXPECT_EQ(open.result.status, 8);
    EXPECT_EQ(open.listing,
              Target::get().text(listing("RG110123.CSV", description(1881, false, kInCens), "", 0, 0,
                                         "rg110123.dat", false,
                                         "Error: row 1, ends with incomplete field\n")));
}

// Invalid bytes anywhere in the three header rows are not reported.
TEST(Tabulon, InvalidBytesInHeaderRowsAreNotReported)
{
    const std::string csv = "RG11 " + kInvalid + kNul + ",\n" + "Title" + kInvalid +
                            "," + titles(24) + "\n" + kInvalid + "\t\n" + ss_row(thomas(), 256) + "\n";
    const Outcome o = convert(csv, {});
    EXPECT_EQ(o.result.status, 0) << o.listing;
    EXPECT_EQ(o.listing, Target::get().text(listing("RG110123.CSV", description(1881, false, kInCens),
                                                    "", 1, 1, "rg110123.dat")));
}

// An 1841 English piece in the ALL layout has no header book, and its missing
// book numbers are not warned about.
TEST(Tabulon, AllLayoutSkipsTheBookNumberCheck)
{
    Person p = thomas();
    p.household = "1";
    p.member = "1";
    p.book = "3";
    const Outcome o = convert(rows({all_row(p, 256)}), {"-a"}, "HO107123.CSV", "ho107123.dat");
    // The rows' own book sequence is still checked: the first row against no book.
    EXPECT_EQ(o.result.status, 4);
    EXPECT_EQ(o.listing, Target::get().text(listing("HO107123.CSV", description(1841, true, kInCens),
                                                    "Warning: row 1, Book number = 3 not sequential\n", 1, 1,
                                                    "ho107123.dat", true)));
    ASSERT_EQ(o.data.size(), 256u);
    EXPECT_EQ(o.data.substr(1, 4), "3   ");
}

// ===========================================================================
// Switches, usage and exit statuses

struct SwitchCase {
    std::string name;
    std::vector<std::string> before;  // switches ahead of the file name
    std::vector<std::string> after;   // words after it
    const Format* format;
    std::string mode;
    std::string said_first;  // console text ahead of the progress counter
};

void PrintTo(const SwitchCase& c, std::ostream* os)
{
    *os << c.name;
}

class Switches : public ::testing::TestWithParam<SwitchCase> {};

// The switches choose the record length (the title count must then agree) and
// the listing mode; the last of two contradicting switches wins; only a word's
// second character counts, in either case; unknown switches are named and the
// run goes on; words after the file name are never looked at.
TEST_P(Switches, ChooseTheRun)
{
    const SwitchCase& c = GetParam();
    const Format& f = *c.format;
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", header(f.titles) + rows({ss_row(thomas(), f.rlen)}));
    std::vector<std::string> args = c.before;
    args.push_back("RG110123.CSV");
    args.insert(args.end(), c.after.begin(), c.after.end());
    const e2e::Result r = e2e::run("tabulon", args, "", dir.path());
    const std::string output = "rg110123." + f.ext;
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(e2e::mask_date(e2e::read_file(dir / "RG110123.erc")),
              Target::get().text(
                  listing("RG110123.CSV", description(1881, false, f, c.mode), "", 1, 1, output)));
    EXPECT_EQ(e2e::read_file(dir / output).size(), static_cast<std::size_t>(f.rlen));
    EXPECT_EQ(r.err, Target::get().text(c.said_first + console(4, 4, 1, 1, output, 0,
                                                               c.mode == ", QUIET" ? -1 : 0,
                                                               "RG110123.erc")));
}

INSTANTIATE_TEST_SUITE_P(
    Tabulon, Switches,
    ::testing::Values(
        SwitchCase{"None", {}, {}, &kInCens, "", ""},
        SwitchCase{"Checked", {"-c"}, {}, &kCheckCens, "", ""},
        SwitchCase{"CheckedUpperCase", {"-C"}, {}, &kCheckCens, "", ""},
        SwitchCase{"Validated", {"-d"}, {}, &kValdRev, "", ""},
        SwitchCase{"CheckedThenValidated", {"-c", "-d"}, {}, &kValdRev, "", ""},
        SwitchCase{"ValidatedThenChecked", {"-D", "-c"}, {}, &kCheckCens, "", ""},
        SwitchCase{"AllThenBrief", {"-a", "-b"}, {}, &kInCens, "", ""},
        SwitchCase{"Verbose", {"-v"}, {}, &kInCens, ", VERBOSE", ""},
        SwitchCase{"VerboseWholeWord", {"-verbose"}, {}, &kInCens, ", VERBOSE", ""},
        SwitchCase{"Quiet", {"-Q"}, {}, &kInCens, ", QUIET", ""},
        SwitchCase{"QuietThenVerbose", {"-q", "-v"}, {}, &kInCens, ", VERBOSE", ""},
        SwitchCase{"VerboseThenQuiet", {"-v", "-q"}, {}, &kInCens, ", QUIET", ""},
        SwitchCase{"RelationshipCodes", {"-r"}, {}, &kInCens, "", ""},
        SwitchCase{"UnknownGoesOn", {"-x", "-"}, {}, &kInCens, "", "Unknown option -x\nUnknown option -\n"},
        SwitchCase{"AfterTheFileIgnored", {}, {"-v", "-d", "more.csv"}, &kInCens, "", ""}),
    [](const auto& info) { return info.param.name; });

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

struct StatusCase {
    std::string name;
    std::vector<std::string> switches;
    std::vector<std::string> data_rows;
    int status;
};

void PrintTo(const StatusCase& c, std::ostream* os)
{
    *os << c.name;
}

class ExitStatus : public ::testing::TestWithParam<StatusCase> {};

// 0 clean, 4 warnings only, 8 any error (warnings or not, quiet or not); a quiet
// run never ends with 4.
TEST_P(ExitStatus, SaysHowTheConversionWent)
{
    const StatusCase& c = GetParam();
    const Outcome o = convert(header() + rows(c.data_rows), c.switches);
    EXPECT_EQ(o.result.status, c.status) << o.listing;
}

Person overlong()
{
    Person p = thomas();
    p.surname = repeat('S', 25);
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Tabulon, ExitStatus,
    ::testing::Values(
        StatusCase{"Clean", {}, {ss_row(thomas(), 256)}, 0},
        StatusCase{"Warning", {}, {ss_row(thomas(), 256), ""}, 4},
        StatusCase{"Error", {}, {ss_row(overlong(), 256)}, 8},
        StatusCase{"ErrorAndWarnings", {}, {"", ss_row(overlong(), 256), ""}, 8},
        StatusCase{"QuietWarning", {"-q"}, {ss_row(thomas(), 256), ""}, 0},
        StatusCase{"QuietError", {"-q"}, {"", ss_row(overlong(), 256)}, 8},
        StatusCase{"VerboseWarning", {"-v"}, {"", ss_row(thomas(), 256)}, 4}),
    [](const auto& info) { return info.param.name; });

// With -q the console summary has no warning count.
TEST(Tabulon, QuietConsoleSummaryHasNoWarningCount)
{
    const Outcome o = convert(header() + rows({"", ss_row(overlong(), 256)}), {"-q"});
    EXPECT_EQ(o.result.err,
              Target::get().text(console(4, 5, 1, 1, "rg110123.dat", 1, -1, "RG110123.erc")));
}

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

std::string census_fatal(const std::string& what, const std::string& text, const std::string& tail)
{
    return "Fatal: " + what + " in file name (" + text + ") is " + tail + "\n";
}

FatalCase name_fatal(const std::string& base, const std::string& listed, const std::string& said)
{
    std::string name = "Name" + base;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return FatalCase{name,
                     piece_and_old_listing(base + ".csv"),
                     {base + ".csv"},
                     said,
                     false,
                     base + ".erc",
                     listed,
                     {base + ".csv", base + ".erc"}};
}

const std::string kNotValid = "Fatal: Part number in file name is not valid\n";

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
        FatalCase{"MixedCaseExtension",
                  piece_and_old_listing("RG110123.Csv"),
                  {"RG110123.Csv"},
                  "Fatal: File must be a .csv (comma separated values)\n",
                  false,
                  "RG110123.erc",
                  "Fatal: File must be a .csv (comma separated values)\n",
                  {"RG110123.Csv", "RG110123.erc"}},
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
        name_fatal("xy123",
                   "Fatal: Census year cannot be determined from file name (xy123)\n",
                   "Fatal: Census year cannot be determined from file name\n"),
        name_fatal("RS6050456", census_fatal("Part number", "05", "not valid"), kNotValid),
        name_fatal("RS6", census_fatal("Part number", "", "not valid"), kNotValid),
        name_fatal("HO108123", census_fatal("Part number", "08", "not valid"), kNotValid),
        name_fatal("HO109123", census_fatal("Part number", "09", "not valid"), kNotValid),
        name_fatal("HS4AB0123", census_fatal("Part number", "AB", "not numeric"),
                   "Fatal: Part number in file name is not numeric\n"),
        name_fatal("RG11_0123", census_fatal("Piece number", "_0123", "not numeric"),
                   "Fatal: Piece number in file name is not numeric\n"),
        name_fatal("RG11%N%S", census_fatal("Piece number", "%N%S", "not numeric"),
                   "Fatal: Piece number in file name is not numeric\n"),
        name_fatal("RG112147483648", census_fatal("Piece number", "2147483648", "not numeric"),
                   "Fatal: Piece number in file name is not numeric\n"),
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
        FatalCase{"HeaderWarningThenTitleCount",
                  with_file("RG110123.CSV", header(24, "Piece 123")),
                  {"RG110123.CSV"},
                  "Fatal: File type switch does not match number of columns in data\n\tall the "
                  "headers in row 2 must be non-blank\n",
                  false,
                  "RG110123.erc",
                  kBadA1 + "Fatal: row 2, File type switch does not match number of columns in "
                           "data (24)\n\tall the titles in row 2 must be non-blank\n",
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

// A piece text too long to hold is refused as not numeric.
TEST(Tabulon, OverLongPieceNumberIsNotNumeric)
{
    e2e::TempDir dir;
    const std::string base = "RG11" + repeat('1', 16);
    e2e::write_file(dir / (base + ".csv"), header() + rows({ss_row(thomas(), 256)}));
    const e2e::Result r = e2e::run("tabulon", {base + ".csv"}, "", dir.path());
    EXPECT_EQ(r.status, 12);
    EXPECT_EQ(r.err, Target::get().text("Fatal: Piece number in file name is not numeric\n"));
    const std::string listed = e2e::read_file(dir / (base + ".erc"));
    EXPECT_EQ(listed.rfind("Fatal: Piece number in file name (", 0), 0u) << listed;
    EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{base + ".csv", base + ".erc"}));
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

// The output file replaces a file of the same name.
TEST(Tabulon, OutputReplacesAnEarlierDataFile)
{
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", header() + rows({ss_row(thomas(), 256)}));
    e2e::write_file(dir / "rg110123.dat", repeat('z', 1000));
    const e2e::Result r = e2e::run("tabulon", {"RG110123.CSV"}, "", dir.path());
    EXPECT_EQ(r.status, 0);
    const std::string data = e2e::read_file(dir / "rg110123.dat");
    EXPECT_EQ(data.size(), 256u);
    EXPECT_EQ(data.find('z'), std::string::npos);
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
// Census identification from the file name, through real runs

struct NameCase {
    std::string base;
    int year;
    std::string output;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << c.base;
}

class FileName : public ::testing::TestWithParam<NameCase> {};

// The base name gives the census year and the normalised output name; the
// listing keeps the name as typed.
TEST_P(FileName, GivesYearAndOutputName)
{
    const NameCase& c = GetParam();
    e2e::TempDir dir;
    e2e::write_file(dir / (c.base + ".csv"), header() + rows({ss_row(thomas(), 256)}));
    const e2e::Result r = e2e::run("tabulon", {"-q", c.base + ".csv"}, "", dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(names_in(dir.path()),
              (std::set<std::string>{c.base + ".csv", c.base + ".erc", c.output}));
    EXPECT_EQ(e2e::read_file(dir / c.output).size(), 256u);
    EXPECT_NE(e2e::read_file(dir / (c.base + ".erc"))
                  .find("Census year = " + std::to_string(c.year) + ", input format = SS-CENS"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Tabulon, FileName,
    ::testing::Values(
        NameCase{"RG110123", 1881, "rg110123.dat"}, NameCase{"rg11123", 1881, "rg110123.dat"},
        NameCase{"RG9123", 1861, "rg090123.dat"}, NameCase{"RG090045", 1861, "rg090045.dat"},
        NameCase{"RS6110456", 1861, "rs611456.dat"}, NameCase{"RS6100456", 1861, "rs610456.dat"},
        NameCase{"rs6110456", 1861, "rs611456.dat"}, NameCase{"HO107123", 1841, "ho107123.dat"},
        NameCase{"HO117123", 1841, "ho117123.dat"}, NameCase{"HO118123", 1841, "ho118123.dat"},
        NameCase{"HO129123", 1841, "ho129123.dat"}, NameCase{"HO101234", 1841, "ho101234.dat"},
        NameCase{"HO1071234", 1841, "ho1071234.dat"}, NameCase{"HO4B0123", 1841, "ho4b0123.dat"},
        NameCase{"ho4b0123", 1841, "ho4b0123.dat"}, NameCase{"HO410123", 1841, "ho410123.dat"},
        NameCase{"HS410123", 1841, "hs410123.dat"}, NameCase{"HO5A0007", 1851, "ho5a0007.dat"},
        NameCase{"HS5110200", 1851, "hs511200.dat"}, NameCase{"RG100456", 1871, "rg100456.dat"},
        NameCase{"RS7120033", 1871, "rs712033.dat"}, NameCase{"RS8101", 1881, "rs810001.dat"},
NameCase{"RS9110007", 1891, "rs911007.dat"},
        NameCase{"RG130001", 1901, "rg130001.dat"}, NameCase{"RS0100070", 1901, "rs010070.dat"},
        NameCase{"RG13", 1901, "rg130000.dat"}, NameCase{"RG1112345", 1881, "rg1112345.dat"},
        NameCase{"HO1", 1841, "ho100000.dat"}),
    [](const auto& info) { return info.param.base; });

// ===========================================================================
// The code tables beside the program

struct TableCase {
    std::string name;
    bool county_file, relationship_file;
    int county_lines, relationship_lines;
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

// Missing or over-full tables switch their checks off with a warning that heads
// the listing (none under the quiet switch); 1841 pieces look for neither file.
TEST_P(CodeTables, AreLoadedFromTheProgramsDirectory)
{
    const TableCase& c = GetParam();
    const Target& target = Target::get();
    e2e::TempDir dir;
    const fs::path bin = dir / "bin";
    fs::create_directory(bin);
    const fs::path program = e2e::stage_program("tabulon", bin);
    if (c.county_file) {
        std::string text;
        for (int i = 0; i < c.county_lines; ++i)
            text += county_line(i) + "\n";
        e2e::write_file(bin / "CHAP1891.TXT", text);
    }
    if (c.relationship_file) {
        std::string text;
        for (int i = 0; i < c.relationship_lines; ++i)
            text += (i == 0 ? std::string("Head") : "Rel" + std::to_string(i)) + "\n";
        e2e::write_file(bin / "relcodes.txt", text);
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
        TableCase{"NoCountyFile", false, false, 0, 0, {}, "RG110123.CSV", kNoCounties},
        TableCase{"NoCountyFileQuiet", false, false, 0, 0, {"-q"}, "RG110123.CSV", ""},
        TableCase{"NoTablesIn1841", false, false, 0, 0, {"-r"}, "HO107123.CSV", ""},
        TableCase{"NoRelationshipFileWithoutR", true, false, 96, 0, {}, "RG110123.CSV", ""},
        TableCase{"NoRelationshipFileWithR", true, false, 96, 0, {"-r"}, "RG110123.CSV",
                  kNoRelationships},
        TableCase{"BothMissingWithR", false, false, 0, 0, {"-r"}, "RG110123.CSV",
                  kNoCounties + kNoRelationships},
        TableCase{"BothMissingWithRQuiet", false, false, 0, 0, {"-q", "-r"}, "RG110123.CSV", ""},
        TableCase{"BothPresent", true, true, 96, 36, {"-r"}, "RG110123.CSV", ""},
        TableCase{"Counties149", true, false, 149, 0, {}, "RG110123.CSV", ""},
        TableCase{"Counties150", true, false, 150, 0, {}, "RG110123.CSV",
                  "Warning: Too many counties in aux file, county code checking disabled\n\n"},
        TableCase{"Relationships149", true, true, 96, 149, {"-r"}, "RG110123.CSV", ""},
        TableCase{"Relationships150", true, true, 96, 150, {"-r"}, "RG110123.CSV",
                  "Warning: Too many relationships in aux file, relationship code checking "
                  "disabled\n\n"}),
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
