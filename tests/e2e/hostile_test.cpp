// Hostile situations around the files the programs write: a run killed or
// interrupted part-way, a full disk, a file-size limit, a listing that cannot
// be written, two editors on one file, a listing the converter did not
// finish, cells that a spreadsheet would run as formulas. One row a
// situation, one runner. In every one: the status and the console line
// expected, the files named unchanged byte for byte, and no unfinished file
// left behind (unless the program was killed outright, when the next run must
// work beside what it left).
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"
#include "sscens_titles.h"
#include "paramfile_builder.h"

namespace {

namespace fs = std::filesystem;
using e2e::Target;

const std::string& titles = e2e::sscens_titles;

// An 1881 piece of the given number of households, one person each. With
// age "x" every row draws an Error, so the listing grows with the rows.
std::string piece(int rows, const std::string& age = "52")
{
    std::string csv = "RG11 piece 123,,\r\n" + titles + "Piece 123,,\r\n";
    csv.reserve(csv.size() + static_cast<std::size_t>(rows) * 100);
    for (int i = 0; i < rows; ++i)
        csv += "Pendlecombe,2,17,3," + std::to_string(i % 999 + 1) + ",,Quarry Row,,Harbottle,Josiah,,Head,M,M," +
               age + ",,Stone Mason,,,DEV,Pendlecombe,,,,\r\n";
    return csv;
}

enum class Trouble {
    none,
    killed,       // SIGKILL once an unfinished file holds a megabyte
    interrupted,  // SIGINT at that point
    terminated,   // SIGTERM at that point
    full_disk,    // the folder has `room` bytes free (a tmpfs; where none can be mounted, a file-size limit)
    held,         // a quillet edit session holds params.dat meanwhile; once it has ended the run succeeds
};

struct Situation {
    std::string name;
    Trouble trouble;
    std::string program;
    std::vector<std::string> args;                // file names are in the situation's folder
    int rows = 0;                                 // RG110123.CSV: a piece of this many rows (0: none)
    std::string age;                              // the age of every row
    std::map<std::string, std::string> files;    // made before the run
    std::function<void(const fs::path&)> more;   // anything else to make (links)
    long long room = 0;                           // full_disk: bytes free for the outputs
    int status;                                   // -N: ended by signal N
    std::vector<std::string> console;             // lines the console must show
    std::vector<std::string> unchanged;           // files byte for byte as made
    std::map<std::string, std::string> holds;     // file -> a text it must hold afterwards
    std::string replies = "";                     // the standard input
};

void PrintTo(const Situation& s, std::ostream* out)
{
    *out << s.name;
}

const std::string earlier_listing = "an earlier listing\n";
const std::string earlier_records(256, 'E');

// A parameters file whose listing (about 20 KB) is more than the room, the
// file-size limit or a stream's buffer.
std::string parameters()
{
    std::string data = paramfile::header("DLR", "Dorcas L. Rendle") +
                       paramfile::piece("0655", "Coldharbour", "2209341", "000031", "000140");
    for (int n = 0; n < 400; ++n)
        data += paramfile::unstamped("0655", "Parish " + std::to_string(n));
    return data;
}

// The listing of RG110123.CSV as the converter leaves it when the conversion
// finished, with these findings.
std::string finished_listing(const std::string& findings, int records)
{
    return "Error listing for tabulon (Merrowby) v4.11.2 Wed Dec  9 06:00:00 2026 UTC converting RG110123.CSV\n"
           "[When reporting program errors, be sure to send this file and the original data file]\n\n"
           "Census year = 1881, input format = SS-CENS, output format = IN-CENS\n\n"
           "Subtract 3 from row numbers in messages to get the corresponding record in the output file.\n\n" +
           findings + "\nOutput " + std::to_string(records) + " records, highest household number = " +
           std::to_string(records) + "\n\nOutput file is rg110123.dat\n";
}

// What tabreport finds beside a piece: its listing, and the report made before.
std::map<std::string, std::string> with_earlier_report(const std::string& listing)
{
    return {{"RG110123.erc", listing},
            {"RG110123.html", "an earlier page\n"},
            {"RG110123.tsv", "an earlier findings file\n"}};
}

// A piece whose age title and one age a spreadsheet would take for formulas.
std::string piece_with_formulas()
{
    std::string csv = piece(1, "-5");
    csv.replace(csv.find(",Age,"), 5, ",=Age,");
    return csv;
}

std::vector<Situation> situations()
{
    const std::map<std::string, std::string> earlier = {{"RG110123.erc", earlier_listing},
                                                        {"rg110123.dat", earlier_records}};
    const std::vector<std::string> both = {"RG110123.erc", "rg110123.dat", "RG110123.CSV"};
    const int big = 1000000;
    const std::map<std::string, std::string> listed = {{"params.dat", parameters()},
                                                       {"params.lst", earlier_listing}};
    const std::vector<std::string> unlisted = {"params.dat", "params.lst"};
    const std::string replies = "ZZ\nSomeone Else\n0655\n1\n1\nY\n\n";
    const std::string listing = finished_listing("", 3);
    const std::string incomplete =
        "Fatal: Listing file (RG110123.erc) is incomplete, the conversion did not finish: convert the piece again "
        "with tabulon\n";
    const std::vector<std::string> report_files = {"RG110123.CSV", "RG110123.erc", "RG110123.html", "RG110123.tsv"};
    return {
        {"tabulon killed mid-way keeps the earlier listing and data file", Trouble::killed, "tabulon",
         {"RG110123.CSV"}, big, "52", earlier, {}, 0, -SIGKILL, {}, both, {}},
        {"tabulon interrupted mid-way keeps them and removes its unfinished files", Trouble::interrupted, "tabulon",
         {"RG110123.CSV"}, big, "52", earlier, {}, 0, -SIGINT, {}, both, {}},
        {"tabulon terminated mid-way likewise", Trouble::terminated, "tabulon", {"-q", "RG110123.CSV"}, big, "52",
         earlier, {}, 0, -SIGTERM, {}, both, {}},
        {"tabulon on a full disk, the data file first: the listing says so, the earlier data file stays",
         Trouble::full_disk, "tabulon", {"RG110123.CSV"}, 3000, "52", earlier, {}, 48 * 1024, 12,
         {"Fatal: Output file (rg110123.dat) write failed\n"}, {"rg110123.dat", "RG110123.CSV"},
         {{"RG110123.erc", "Fatal: Output file (rg110123.dat) write failed\n"}}},
        {"tabulon on a full disk, the listing first: nothing is installed", Trouble::full_disk, "tabulon",
         {"RG110123.CSV"}, 3000, "x", earlier, {}, 48 * 1024, 12,
         {"Fatal: Listing file (RG110123.erc) write failed\n"}, both, {}},
        {"tabulon with its listing on a device that is full: nothing is installed", Trouble::none, "tabulon",
         {"RG110123.CSV"}, 3000, "52", {{"rg110123.dat", earlier_records}},
         [](const fs::path& dir) { fs::create_symlink("/dev/full", dir / "RG110123.erc"); }, 0, 12,
         {"Fatal: Listing file (RG110123.erc) write failed\nFatal: No space left on device\n"},
         {"rg110123.dat", "RG110123.CSV"}, {}},
        {"quillet listing on a full disk: the earlier listing stays", Trouble::full_disk, "quillet",
         {"-a", "params.dat"}, 0, "", listed, {}, 1024, 12, {"Fatal: Output file (params.lst) write failed\n"},
         unlisted, {}},
        {"quillet listing on a device that is full", Trouble::none, "quillet", {"-a", "params.dat"}, 0, "",
         {{"params.dat", parameters()}},
         [](const fs::path& dir) { fs::create_symlink("/dev/full", dir / "params.lst"); }, 0, 12,
         {"Fatal: Output file (params.lst) write failed\nFatal: No space left on device\n"}, {"params.dat"}, {}},
        {"a second quillet edit session is refused while the first holds the file", Trouble::held, "quillet",
         {"params.dat"}, 0, "", listed, {}, 0, 12,
         {"Fatal: Data file params.dat is being edited by another program\n"}, unlisted, {}, replies},
        {"quillet lists a file an edit session holds", Trouble::held, "quillet", {"-a", "params.dat"}, 0, "",
         listed, {}, 0, 0, {"\nOutput file is params.lst\n"}, {"params.dat"},
         {{"params.lst", "Civil parish: Parish 399, Not updated\n"}}},
        {"tabreport refuses an empty listing and writes nothing", Trouble::none, "tabreport", {"-t", "RG110123.CSV"},
         3, "52", with_earlier_report(""), {}, 0, 12, {incomplete}, report_files, {}},
        {"tabreport refuses a listing cut off part-way and writes nothing", Trouble::none, "tabreport",
         {"-t", "RG110123.CSV"}, 3, "52", with_earlier_report(listing.substr(0, listing.size() / 2)), {}, 0, 12,
         {incomplete}, report_files, {}},
        {"tabreport on a full disk: the earlier page and findings file stay", Trouble::full_disk, "tabreport",
         {"-t", "RG110123.CSV"}, 3, "52", with_earlier_report(listing), {}, 2048, 12,
         {"Fatal: Report file (RG110123.html) failed to write\nFatal: "}, report_files, {}},
        {"tabreport with its findings file on a device that is full: the earlier page stays", Trouble::none,
         "tabreport", {"-t", "RG110123.CSV"}, 3, "52",
         {{"RG110123.erc", finished_listing("Warning: row 5, surname missing\n", 3)},
          {"RG110123.html", "an earlier page\n"}},
         [](const fs::path& dir) { fs::create_symlink("/dev/full", dir / "RG110123.tsv"); }, 0, 12,
         {"Fatal: Findings file (RG110123.tsv) failed to write\nFatal: No space left on device\n"},
         {"RG110123.CSV", "RG110123.erc", "RG110123.html"}, {}},
        {"tabreport marks what a spreadsheet would run as text in the findings file only", Trouble::none, "tabreport",
         {"-t", "RG110123.CSV"}, 0, "", [] {
             auto files = with_earlier_report(finished_listing("Error: row 4, age = -5 not numeric\n", 1));
             files["RG110123.CSV"] = piece_with_formulas();
             return files;
         }(), {}, 0, 0, {"\nReport file is RG110123.html\nFindings file is RG110123.tsv\n"},
         {"RG110123.CSV", "RG110123.erc"},
         {{"RG110123.tsv", "4\tError\t'=Age\t'-5\tError: row 4, age = -5 not numeric"},
          {"RG110123.html", "\xC2\x80-5\xC2\x80"}}},  // on the page a cell as it stands
    };
}

bool is_unfinished(const fs::path& file)
{
    return file.filename().string().find(".unfinished-") != std::string::npos;
}

std::vector<fs::path> unfinished_files(const fs::path& dir)
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(dir))
        if (is_unfinished(entry.path()))
            found.push_back(entry.path());
    return found;
}

// The folder of one situation: a plain one, or a small file system of its own.
class Folder {
public:
    Folder(const Situation& s, long long contents_size)
    {
        if (s.trouble != Trouble::full_disk)
            return;
        const std::string options = "size=" + std::to_string((contents_size + s.room) / 1024 + 1) + "k";
        mounted_ = geteuid() == 0 && mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~Folder()
    {
        if (mounted_)
            umount2(dir_.path().c_str(), MNT_DETACH);
    }
    const fs::path& path() const { return dir_.path(); }
    bool mounted() const { return mounted_; }

private:
    e2e::TempDir dir_;
    bool mounted_ = false;
};

// Waits until the program has written a megabyte of an unfinished file, so
// that it is surely part-way through; false when it ended first.
bool wait_until_part_way(e2e::Started& program, const fs::path& dir)
{
    while (program.running()) {
        for (const fs::path& file : unfinished_files(dir)) {
            std::error_code error;
            if (fs::file_size(file, error) >= 1024 * 1024 && !error)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// The end of a console output (the progress counter can make it long).
std::string tail(const std::string& text)
{
    return text.substr(text.size() - std::min<std::size_t>(text.size(), 400));
}

int signal_of(Trouble trouble)
{
    return trouble == Trouble::killed ? SIGKILL : trouble == Trouble::interrupted ? SIGINT : SIGTERM;
}

class Hostile : public testing::TestWithParam<Situation> {};

TEST_P(Hostile, NothingLostNothingHalfWritten)
{
    const Situation& s = GetParam();
    const Target& target = Target::get();
    if (s.more && target.windows)
        GTEST_SKIP() << "a link to a Linux device";
    std::map<std::string, std::string> files = s.files;
    if (s.rows > 0)
        files["RG110123.CSV"] = piece(s.rows, s.age);
    long long contents_size = 0;
    for (const auto& [name, bytes] : files)
        contents_size += static_cast<long long>(bytes.size()) + 4096;
    Folder folder(s, contents_size);
    const fs::path& dir = folder.path();
    for (const auto& [name, bytes] : files)
        e2e::write_file(dir / name, bytes);
    if (s.more)
        s.more(dir);

    e2e::Invocation invocation;
    invocation.program = s.program;
    invocation.args = s.args;
    invocation.cwd = dir;
    invocation.stdin_text = s.replies;
    invocation.timeout = std::chrono::seconds(120);

    std::optional<e2e::Started> holder;
    if (s.trouble == Trouble::held) {
        e2e::Invocation editor;
        editor.program = "quillet";
        editor.args = {"params.dat"};
        editor.cwd = dir;
        holder.emplace(editor);
        ASSERT_TRUE(holder->wait_for("Enter New Transcriber id")) << holder->err_so_far();
    }
    if (s.trouble == Trouble::full_disk && !folder.mounted())
        invocation.file_size_limit = s.room;  // no file system of our own: each file gets the room

    e2e::Result r;
    const bool signalled = s.trouble == Trouble::killed || s.trouble == Trouble::interrupted ||
                           s.trouble == Trouble::terminated;
    if (signalled) {
        e2e::Started program(invocation);
        ASSERT_TRUE(wait_until_part_way(program, dir)) << "ended before it could be stopped part-way";
        program.signal(signal_of(s.trouble));
        r = program.finish();
    } else {
        r = e2e::run(invocation);
    }

    if (!signalled || !target.windows) {  // Wine ends a signalled program in its own way
        EXPECT_EQ(r.status, s.status) << tail(r.err);
    }
    for (const std::string& line : s.console)
        EXPECT_NE(r.err.find(target.text(line)), std::string::npos) << tail(r.err);
    for (const std::string& name : s.unchanged)
        EXPECT_TRUE(e2e::read_file(dir / name) == files.at(name)) << name << " changed";
    for (const auto& [name, text] : s.holds)
        EXPECT_NE(e2e::read_file(dir / name).find(target.text(text)), std::string::npos) << name;
    // Under Wine a SIGTERM ends the program as Windows' TerminateProcess does,
    // with no chance to tidy up, like a SIGKILL.
    const bool ended_outright =
        s.trouble == Trouble::killed || (s.trouble == Trouble::terminated && target.windows);
    if (!ended_outright) {
        EXPECT_TRUE(unfinished_files(dir).empty()) << "an unfinished file was left";
    }
    if (s.trouble == Trouble::held) {
        EXPECT_EQ(holder->finish().status, 0);
        const e2e::Result again = e2e::run(invocation);
        EXPECT_EQ(again.status, 0) << again.err;
    }
    if (s.trouble != Trouble::killed)
        return;

    // What a killed run left is never taken for a piece, a listing or a data
    // file: the next run converts beside it, and the batch finds one piece.
    const std::vector<fs::path> left = unfinished_files(dir);
    EXPECT_FALSE(left.empty());
    invocation.args = {"-q", "RG110123.CSV"};
    const e2e::Result again = e2e::run(invocation);
    EXPECT_EQ(again.status, 8) << tail(again.err);  // the millionth household does not fit its six digits
    EXPECT_EQ(e2e::read_file(dir / "rg110123.dat").size(), 1000000u * 256u);
    EXPECT_EQ(unfinished_files(dir), left);
    e2e::write_file(dir / "RG110123.CSV", piece(10));
    const e2e::Result batch = e2e::run("tabbatch", {target.native(dir)});
    EXPECT_NE(batch.out.find("Total: 1 piece,"), std::string::npos) << batch.out;
}

INSTANTIATE_TEST_SUITE_P(Situations, Hostile, testing::ValuesIn(situations()),
                         [](const testing::TestParamInfo<Situation>& info) {
                             std::string name;
                             for (char c : info.param.name)
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                             return name.substr(0, 60) + "_" + std::to_string(info.index);
                         });

}  // namespace
