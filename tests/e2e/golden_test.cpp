// Whole converter runs kept as data: every folder under tests/golden holds one
// census piece and one or more variants (switches, expected exit status, the
// whole expected listing and, optionally, expected field values of the data
// records). The format is described in tests/golden/README.md.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

#ifndef GOLDEN_DIR
#error "GOLDEN_DIR must name the folder of golden cases"
#endif

namespace {

namespace fs = std::filesystem;
using e2e::Target;

// ---------------------------------------------------------------------------
// The cases on disk

struct Variant {
    std::string case_name;  // the folder
    std::string name;       // the stem of its files
    fs::path folder;
    fs::path piece;  // the one spreadsheet of the folder
};

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<fs::path> pieces_in(const fs::path& folder)
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && lower(entry.path().extension().string()) == ".csv")
            found.push_back(entry.path());
    return found;
}

// Every variant of every case folder, in name order. A folder without exactly
// one piece still yields its variants, so that the test names the fault.
std::vector<Variant> discover()
{
    std::vector<Variant> variants;
    const fs::path root = GOLDEN_DIR;
    if (!fs::is_directory(root))
        return variants;
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(root))
        if (entry.is_directory())
            folders.push_back(entry.path());
    std::sort(folders.begin(), folders.end());
    for (const auto& folder : folders) {
        const std::vector<fs::path> pieces = pieces_in(folder);
        std::vector<std::string> stems;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".args")
                stems.push_back(entry.path().stem().string());
        std::sort(stems.begin(), stems.end());
        for (const auto& stem : stems)
            variants.push_back({folder.filename().string(), stem, folder,
                                pieces.size() == 1 ? pieces.front() : fs::path{}});
    }
    return variants;
}

std::string read_text(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> split_lines(const std::string& text, const std::string& newline)
{
    std::vector<std::string> result;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find(newline, at);
        if (end == std::string::npos) {
            result.push_back(text.substr(at) + "  [no line end]");
            break;
        }
        result.push_back(text.substr(at, end - at));
        at = end + newline.size();
    }
    return result;
}

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

std::string test_name(const Variant& v)
{
    std::string name = v.case_name + "__" + v.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

// ---------------------------------------------------------------------------
// Listing differences

// Lines shown with their invisible characters made visible.
std::string visible(const std::string& line)
{
    std::string shown;
    for (char c : line) {
        if (c == '\r')
            shown += "\\r";
        else if (c == '\t')
            shown += "\\t";
        else
            shown += c;
    }
    return shown;
}

// A line-by-line difference (longest common subsequence): "  " same,
// "- " expected only, "+ " actual only, each with its line number.
std::string line_diff(const std::vector<std::string>& expected, const std::vector<std::string>& actual)
{
    const std::size_t n = expected.size(), m = actual.size();
    std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            common[i][j] = expected[i] == actual[j] ? common[i + 1][j + 1] + 1
                                                    : std::max(common[i + 1][j], common[i][j + 1]);
    std::ostringstream out;
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && expected[i] == actual[j]) {
            out << "    " << visible(expected[i]) << "\n";
            ++i, ++j;
        } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
            out << "  - " << visible(expected[i]) << "   (expected line " << i + 1 << ")\n";
            ++i;
        } else {
            out << "  + " << visible(actual[j]) << "   (actual line " << j + 1 << ")\n";
            ++j;
        }
    }
    return out.str();
}

// ---------------------------------------------------------------------------
// Data records

struct Field {
    std::size_t position;  // from 1
    std::size_t width;
};

const std::map<std::string, Field>& record_fields()
{
    static const std::map<std::string, Field> fields{
        {"status", {1, 1}},          {"book", {2, 4}},
        {"household", {6, 6}},       {"member", {12, 4}},
        {"parish", {16, 20}},        {"ed", {36, 3}},
        {"ed_suffix", {39, 1}},      {"folio", {40, 4}},
        {"folio_suffix", {44, 1}},   {"page", {45, 4}},
        {"schedule", {49, 3}},       {"schedule_suffix", {52, 1}},
        {"house", {53, 4}},          {"house_suffix", {57, 1}},
        {"address", {58, 30}},       {"uninhabited", {88, 1}},
        {"surname", {89, 24}},       {"forenames", {113, 24}},
        {"name_flag", {137, 1}},     {"relationship", {138, 6}},
        {"condition", {144, 1}},     {"sex", {145, 1}},
        {"age", {146, 3}},           {"age_units", {149, 1}},
        {"detail_flag", {150, 1}},   {"occupation", {151, 30}},
        {"occupation_flag", {181, 1}}, {"county", {182, 3}},
        {"birthplace", {185, 20}},   {"birthplace_flag", {205, 1}},
        {"disability", {206, 6}},    {"language", {212, 1}},
        {"notes", {213, 44}},        {"district", {257, 20}},
        {"alt_county", {277, 3}},    {"alt_birthplace", {280, 20}},
    };
    return fields;
}

std::string trim_right(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::optional<std::size_t> record_length(const fs::path& data)
{
    const std::string ext = lower(data.extension().string());
    if (ext == ".dat")
        return 256;
    if (ext == ".val")
        return 276;
    if (ext == ".vld")
        return 299;
    return std::nullopt;
}

// The data file the run wrote beside the piece.
std::optional<fs::path> data_file_in(const fs::path& dir)
{
    for (const auto& entry : fs::directory_iterator(dir))
        if (record_length(entry.path()))
            return entry.path();
    return std::nullopt;
}

// Checks the data file against the .records expectations; each mismatch is one failure.
void check_records(const fs::path& expectations, const fs::path& data_path)
{
    const std::string data = e2e::read_file(data_path);
    const std::size_t rlen = *record_length(data_path);
    EXPECT_EQ(data.size() % rlen, 0u) << data_path.filename().string() << " holds " << data.size()
                                      << " bytes, not a whole number of " << rlen << "-byte records";
    const std::size_t records = data.size() / rlen;

    std::istringstream in(read_text(expectations));
    int line_number = 0;
    for (std::string line; std::getline(in, line);) {
        ++line_number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = expectations.filename().string() + ":" + std::to_string(line_number);
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string> w = words(line);
        if (w.size() == 2 && w[0] == "count") {
            if (std::to_string(records) != w[1])
                ADD_FAILURE() << where << ": " << w[1] << " records expected, the file holds " << records;
            continue;
        }
        const std::size_t blank = line.find(' ');
        const std::size_t equals = line.find('=');
        if (blank == std::string::npos || equals == std::string::npos || equals < blank) {
            ADD_FAILURE() << where << ": not \"<record> <field>=<value>\" nor \"count <N>\": " << line;
            continue;
        }
        const std::string number = line.substr(0, blank);
        const std::string name = line.substr(blank + 1, equals - blank - 1);
        const std::string expected = line.substr(equals + 1);
        const auto field = record_fields().find(name);
        if (field == record_fields().end() || number.empty() ||
            !std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c); })) {
            ADD_FAILURE() << where << ": unknown field or bad record number: " << line;
            continue;
        }
        const std::size_t record = std::stoul(number);
        if (record < 1 || record > records) {
            ADD_FAILURE() << where << ": record " << record << " asked for, the file holds " << records;
            continue;
        }
        const Field f = field->second;
        if (f.position - 1 + f.width > rlen) {
            ADD_FAILURE() << where << ": field " << name << " is not part of a " << rlen << "-byte record";
            continue;
        }
        const std::string actual = trim_right(data.substr((record - 1) * rlen + f.position - 1, f.width));
        if (actual != expected)
            ADD_FAILURE() << where << ": record " << record << ", field " << name << "\n  expected: ["
                          << expected << "]\n  actual:   [" << actual << "]";
    }
}

// ---------------------------------------------------------------------------
// The code tables

// The program to run: the built one, or, when the case brings code tables of
// its own, a copy of it in program_dir beside them (and beside the built
// program's copy of any table the case lacks).
std::string program_for(const Variant& v, const fs::path& program_dir)
{
    const char* const tables[] = {"CHAP1891.TXT", "relcodes.txt"};
    if (std::none_of(std::begin(tables), std::end(tables), [&](const char* t) { return fs::exists(v.folder / t); }))
        return "tabulon";
    fs::create_directory(program_dir);
    const fs::path program = e2e::stage_program("tabulon", program_dir);
    const fs::path built_dir = fs::path(Target::get().program("tabulon")).parent_path();
    for (const char* table : tables) {
        const fs::path own = v.folder / table;
        fs::copy_file(fs::exists(own) ? own : built_dir / table, program_dir / table);
    }
    return program.string();
}

// ---------------------------------------------------------------------------
// The test

// Shown by GoogleTest in place of the bytes of the parameter.
void PrintTo(const Variant& v, std::ostream* os)
{
    *os << v.case_name << "/" << v.name;
}

class GoldenCase : public ::testing::TestWithParam<Variant> {};

TEST_P(GoldenCase, ConvertsAsExpected)
{
    const Variant& v = GetParam();
    const Target& target = Target::get();
    ASSERT_FALSE(v.piece.empty()) << v.folder << " must hold exactly one .csv piece";
    const fs::path stem = v.folder / v.name;
    ASSERT_TRUE(fs::exists(stem.string() + ".status")) << "missing " << v.name << ".status";
    ASSERT_TRUE(fs::exists(stem.string() + ".erc")) << "missing " << v.name << ".erc";

    e2e::TempDir dir;
    const std::string piece = v.piece.filename().string();
    fs::copy_file(v.piece, dir / piece);
    std::set<std::string> beside;  // files left from earlier runs
    if (fs::is_directory(v.folder / "beside"))
        for (const auto& entry : fs::directory_iterator(v.folder / "beside")) {
            fs::copy_file(entry.path(), dir / entry.path().filename());
            beside.insert(entry.path().filename().string());
        }
    std::vector<std::string> args = words(read_text(stem.string() + ".args"));
    args.push_back(piece);
    const e2e::Result r = e2e::run(program_for(v, dir / "program"), args, "", dir.path());

    const std::vector<std::string> status = words(read_text(stem.string() + ".status"));
    ASSERT_EQ(status.size(), 1u) << v.name << ".status must hold one number";
    EXPECT_EQ(std::to_string(r.status), status[0]) << "exit status; console:\n" << visible(r.err);

    const fs::path listing_path = dir / (v.piece.stem().string() + ".erc");
    const std::string actual = e2e::mask_date(e2e::read_file(listing_path));
    const std::string expected = target.text(read_text(stem.string() + ".erc"));
    EXPECT_TRUE(actual == expected)
        << "listing " << listing_path.filename().string() << " differs (- expected, + actual):\n"
        << line_diff(split_lines(expected, target.newline), split_lines(actual, target.newline));

    // The run leaves beside the piece its listing and at most the data file the listing names.
    const std::string named = "\nOutput file is ";
    const std::size_t at = actual.rfind(target.text(named));
    std::set<std::string> written = beside;
    written.insert({piece, listing_path.filename().string(), "program"});
    if (at != std::string::npos)
        written.insert(split_lines(actual.substr(at + target.text(named).size()), target.newline).front());
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_TRUE(written.count(entry.path().filename().string())) << "the run left " << entry.path().filename();

    const fs::path console = stem.string() + ".console";
    if (fs::exists(console)) {
        EXPECT_EQ(r.out, "") << "standard output";
        const std::string said = target.text(read_text(console));
        EXPECT_TRUE(r.err == said) << "console differs (- expected, + actual):\n"
                                   << line_diff(split_lines(said, target.newline), split_lines(r.err, target.newline));
    }

    const fs::path records = stem.string() + ".records";
    if (fs::exists(records) && words(read_text(records)) == std::vector<std::string>{"none"}) {
        EXPECT_FALSE(data_file_in(dir.path())) << "a data file was written";
    } else if (fs::exists(records)) {
        const std::optional<fs::path> data = data_file_in(dir.path());
        ASSERT_TRUE(data) << "no data file (.dat, .val or .vld) was written";
        check_records(records, *data);
    }
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenCase, ::testing::ValuesIn(discover()),
                         [](const ::testing::TestParamInfo<Variant>& info) { return test_name(info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenCase);

}  // namespace
