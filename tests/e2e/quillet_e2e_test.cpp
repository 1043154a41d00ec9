// The parameters-file editor seen from outside: scripted replies on standard
// input; the console text, the .lst listing and the data file's bytes compared
// before and after.
#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "harness.h"
#include "paramfile_builder.h"

namespace {

using e2e::Target;

using paramfile::at;
using paramfile::blank_marked;
using paramfile::header;
using paramfile::piece;
using paramfile::stamped;
using paramfile::unstamped;
using paramfile::with;

// 0 header; 1 piece 0412 with parishes 2-4; 5 piece 0413 with parish 6;
// 7 piece 0587, the last record, with no parishes.
std::string sample()
{
    return header("MJB", "Margery J. Bellweather") +
           piece("0412", "Thornleigh", "1341097", "000312", "001388") +
           stamped("0412", "Thornleigh St Agnes", '*', "MJB", "14Mar2024") +
           blank_marked("0412", "Little Haddow") + stamped("0412", "Crookfold", 'C', "RTW", "02Nov2023") +
           piece("0413", "Thornleigh", "1341097", "000000", "000000") + unstamped("0413", "Mossgate") +
           piece("0587", "Wendlesham", "1341122", "000096", "000421");
}

// Today's date as the editor stamps it, "%d%b%Y" with English months.
std::string today()
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char text[16];
    std::snprintf(text, sizeof text, "%02d%s%d", tm.tm_mday, months[tm.tm_mon], 1900 + tm.tm_year);
    return text;
}

// ---- The dialogue's texts ----

const std::string id_prompt = "\n\nEnter New Transcriber id (RETURN to leave unchanged): ";
const std::string name_prompt = "\n\nEnter New Name (RETURN to leave unchanged): ";
const std::string piece_prompt = "\nEnter Piece Number (4 digits, RETURN to end): ";
const std::string households_prompt = "\n\nEnter New household count (RETURN to leave unchanged): ";
const std::string records_prompt = "Enter New record count (RETURN to leave unchanged): ";
const std::string clear_prompt = "\nEnter Y to clear, RETURN to leave unchanged): ";
const std::string set_prompt = "\nEnter Y to set, RETURN to leave unchanged): ";
const std::string finished = "\nQuillet finished\n";
const std::string usage = "Usage (v1.3.1): quillet [-a] [-h|-?] <filename.DAT>\n\ta=ALL, h|?=HELP\n";

std::string transcriber(const std::string& id, const std::string& name)
{
    return "Transcriber id : " + id + ", Name : " + name + "\n";
}

// The header questions, answered with whatever comes between them.
std::string opening(const std::string& id = "MJB ", const std::string& name = "Margery J. Bellweather",
                    const std::string& after_id = "")
{
    return transcriber(id, name) + id_prompt + after_id + name_prompt;
}

std::string counts(const std::string& district, const std::string& film, int households, int records,
                   const std::string& after_households = "")
{
    return piece_prompt + "Registration District: " + district + ", LDS Film: " + film +
           "\nCurrent household count: " + std::to_string(households) +
           ", Record count: " + std::to_string(records) + households_prompt + after_households + records_prompt;
}

std::string updated(const std::string& name, const std::string& by, const std::string& on)
{
    return "Civil parish: " + name + ", Updated by: " + by + " On " + on + "\n" + clear_prompt;
}

std::string not_updated(const std::string& name)
{
    return "Civil parish: " + name + ", Not updated\n" + set_prompt;
}

// The whole console text of piece 0412 of the sample as it stands.
std::string piece_0412(const std::string& after_households = "")
{
    return counts("Thornleigh", "1341097", 312, 1388, after_households) +
           updated("Thornleigh St Agnes", "MJB ", "14Mar2024") + not_updated("Little Haddow") +
           updated("Crookfold", "RTW ", "02Nov2023");
}

// ---- A data file in a directory of its own ----

class Quillet : public ::testing::Test {
protected:
    const Target& target = Target::get();
    e2e::TempDir dir;

    std::filesystem::path data() const { return dir / "params.dat"; }
    std::string data_arg() const { return target.native(data()); }
    std::string file() const { return e2e::read_file(data()); }
    std::string listing() const { return e2e::read_file(dir / "params.lst"); }

    e2e::Result edit(const std::string& contents, const std::string& replies)
    {
        e2e::write_file(data(), contents);
        date_before = today();
        const e2e::Result r = e2e::run("quillet", {data_arg()}, replies);
        date_after = today();
        return r;
    }

    // The date the last edit stamped at offset, which must be today's as it
    // was when the run began or when it ended (a run may cross midnight).
    std::string stamped_date(std::size_t offset) const
    {
        const std::string date = file().substr(offset, 9);
        EXPECT_TRUE(date == date_before || date == date_after)
            << date << " is neither " << date_before << " nor " << date_after;
        return date;
    }

    e2e::Result list(const std::string& contents)
    {
        e2e::write_file(data(), contents);
        return e2e::run("quillet", {"-a", data_arg()});
    }

    std::string console(const std::string& lf_text) const { return target.text(lf_text); }

    std::string date_before, date_after;  // around the last edit

    std::string listing_heading(const std::string& id = "MJB ", const std::string& name = "Margery J. Bellweather")
    {
        return "Listing for quillet v1.3.1 (Merrowby) listing " + data_arg() +
               "\n[When reporting program errors, be sure to send this file and the original data file]\n\n" +
               transcriber(id, name);
    }

    // The whole listing of the sample.
    std::string sample_listing()
    {
        return listing_heading() +
               "\nPiece 0412\n"
               "Registration District: Thornleigh, LDS Film: 1341097\n"
               "Current household count: 312, Record count: 1388\n\n"
               "Civil parish: Thornleigh St Agnes, Updated by: MJB  On 14Mar2024\n"
               "Civil parish: Little Haddow, Not updated\n"
               "Civil parish: Crookfold, Updated by: RTW  On 02Nov2023\n"
               "\nPiece 0413\n"
               "Registration District: Thornleigh, LDS Film: 1341097\n"
               "Current household count: 0, Record count: 0\n\n"
               "Civil parish: Mossgate, Not updated\n"
               "\nPiece 0587\n"
               "Registration District: Wendlesham, LDS Film: 1341122\n"
               "Current household count: 96, Record count: 421\n\n";
    }
};

// ---- Switches and start-up ----

TEST_F(Quillet, WithoutArgumentsShowsUsage)
{
    const e2e::Result r = e2e::run("quillet", {}, "\n\n");  // an empty command line at the launcher
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, console(usage));
}

TEST_F(Quillet, HelpOrNoFileNameEndsWithStatusTwo)
{
    for (const char* help : {"-h", "-H", "-?"}) {
        const e2e::Result r = e2e::run("quillet", {help, data_arg()});
        EXPECT_EQ(r.status, 2) << help;
        EXPECT_EQ(r.err, console(usage)) << help;
    }
    const e2e::Result r = e2e::run("quillet", {"-a"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "");
}

TEST_F(Quillet, SlashQuestionMarkIsHelpOnWindows)
{
    if (!target.windows)
        GTEST_SKIP() << "only '-' starts a switch on POSIX, where /? is a path";
    const e2e::Result r = e2e::run("quillet", {"/?", data_arg()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, console(usage));
}

TEST_F(Quillet, UnknownSwitchIsNamedAndIgnored)
{
    // Only the second character counts: -all is -a.
    e2e::write_file(data(), header("AB", "Ann Brackley"));
    const e2e::Result r = e2e::run("quillet", {"-x", "-", "-all", data_arg()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console("Unknown option -x\nUnknown option -\n\nOutput file is " +
                             target.native(dir / "params.lst") + "\n"));
}

TEST_F(Quillet, LaterSwitchWinsSoAThenIEdits)
{
    e2e::write_file(data(), sample());
    const e2e::Result r = e2e::run("quillet", {"-a", "-i", data_arg()}, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening() + piece_prompt + finished));
    EXPECT_FALSE(e2e::exists(dir / "params.lst"));
    EXPECT_EQ(file(), sample());
}

TEST_F(Quillet, MissingDataFileIsFatal)
{
    const e2e::Result r = e2e::run("quillet", {data_arg()});
    EXPECT_EQ(r.status, 12);
    EXPECT_EQ(r.err, console("Fatal: Data file " + data_arg() + " failed to open\nFatal: No such file or directory\n"));
}

// A file its user may only read: editing it fails to open, listing it (which
// writes nothing to it) works; the file stays as it was.
TEST_F(Quillet, ReadOnlyDataFileListsButDoesNotOpenForEditing)
{
    if (target.windows && geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root, and Wine will not run as another user";
    if (geteuid() == 0 && !e2e::exists("/usr/bin/setpriv"))
        GTEST_SKIP() << "running as root without setpriv";
    using perms = std::filesystem::perms;
    e2e::write_file(data(), sample());
    std::filesystem::permissions(data(), perms::owner_read | perms::group_read | perms::others_read);
    if (geteuid() == 0)  // nobody writes the listing beside the file
        std::filesystem::permissions(dir.path(), perms::others_exec | perms::others_write,
                                     std::filesystem::perm_options::add);
    const auto run_as_user = [&](const std::vector<std::string>& args) {
        e2e::Invocation run;
        run.program = "quillet";
        run.args = args;
        if (geteuid() == 0) {
            // Permissions do not bind root: run the editor as nobody.
            run.program = "/usr/bin/setpriv";
            run.args = {"--reuid=65534", "--regid=65534", "--clear-groups", target.program("quillet")};
            run.args.insert(run.args.end(), args.begin(), args.end());
        }
        return e2e::run(run);
    };

    const e2e::Result edited = run_as_user({data_arg()});
    EXPECT_EQ(edited.status, 12);
    EXPECT_EQ(edited.err, console("Fatal: Data file " + data_arg() + " failed to open\nFatal: Permission denied\n"));
    EXPECT_FALSE(e2e::exists(dir / "params.lst"));

    const e2e::Result listed = run_as_user({"-a", data_arg()});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.err, console("\nOutput file is " + target.native(dir / "params.lst") + "\n"));
    EXPECT_EQ(listing(), target.text(sample_listing()));
    EXPECT_EQ(file(), sample());
}

TEST_F(Quillet, FileUnderOneRecordHasNoHeader)
{
    for (const std::size_t size : {0, 1, 40, 63}) {
        const std::string short_file = sample().substr(0, size);
        for (const bool listing_mode : {false, true}) {
            SCOPED_TRACE(std::to_string(size) + (listing_mode ? " bytes, listing mode" : " bytes, edit mode"));
            const e2e::Result r = listing_mode ? list(short_file) : edit(short_file, "ABC\nNew Name\n0412\n5\n5\n");
            EXPECT_EQ(r.status, 16);
            EXPECT_EQ(r.err, console("Fatal: No header record\n"));
            EXPECT_EQ(file(), short_file);
            EXPECT_FALSE(e2e::exists(dir / "params.lst"));
        }
    }
}

// ---- Listing mode ----

TEST_F(Quillet, ListsEveryPieceAndParish)
{
    const e2e::Result r = list(sample());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console("\nOutput file is " + target.native(dir / "params.lst") + "\n"));
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(listing(), target.text(sample_listing()));
    EXPECT_EQ(file(), sample());
}

TEST_F(Quillet, ListingBesideARelativeDataFile)
{
    e2e::write_file(data(), header("AB", "Ann Brackley"));
    e2e::write_file(dir / "params.lst", "an old listing, replaced");
    const e2e::Result r = e2e::run("quillet", {"-A", "params.dat"}, "", dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console("\nOutput file is params.lst\n"));
    EXPECT_EQ(listing(), target.text("Listing for quillet v1.3.1 (Merrowby) listing params.dat\n"
                                     "[When reporting program errors, be sure to send this file and the "
                                     "original data file]\n\n" +
                                     transcriber("AB  ", "Ann Brackley")));
}

TEST_F(Quillet, ListingIgnoresAPartialLastRecord)
{
    const std::string contents = header("MJB", "Margery J. Bellweather") +
                                 piece("0413", "Thornleigh", "1341097", "000007", "000031") +
                                 unstamped("0413", "Mossgate").substr(0, 40);
    const e2e::Result r = list(contents);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(listing(), target.text(listing_heading() +
                                     "\nPiece 0413\n"
                                     "Registration District: Thornleigh, LDS Film: 1341097\n"
                                     "Current household count: 7, Record count: 31\n\n"));
    EXPECT_EQ(file(), contents);
}

TEST_F(Quillet, ListingThatWouldBeTheDataFileIsRefused)
{
    const std::filesystem::path data_lst = dir / "params.lst";
    e2e::write_file(data_lst, sample());
    const e2e::Result r = e2e::run("quillet", {"-a", target.native(data_lst)});
    EXPECT_EQ(r.status, 12);
    EXPECT_EQ(r.err, console("Fatal: Output file " + target.native(data_lst) +
                             " failed to open\nFatal: listing would overwrite the data file\n"));
    EXPECT_EQ(e2e::read_file(data_lst), sample());
}

TEST_F(Quillet, ListingThatIsALinkToTheDataFileIsRefused)
{
    if (target.windows)
        GTEST_SKIP() << "hard links of the host file system";
    e2e::write_file(data(), sample());
    std::filesystem::create_hard_link(data(), dir / "params.lst");
    const e2e::Result r = e2e::run("quillet", {"-a", data_arg()});
    EXPECT_EQ(r.status, 12);
    EXPECT_EQ(r.err, console("Fatal: Output file " + target.native(dir / "params.lst") +
                             " failed to open\nFatal: listing would overwrite the data file\n"));
    EXPECT_EQ(file(), sample());
}

TEST_F(Quillet, ListingThatCannotBeOpenedIsFatal)
{
    std::filesystem::create_directory(dir / "params.lst");
    const e2e::Result r = list(sample());
    EXPECT_EQ(r.status, 12);
    const std::string first = console("Fatal: Output file " + target.native(dir / "params.lst") + " failed to open\n");
    EXPECT_EQ(r.err.substr(0, first.size()), first);
    EXPECT_EQ(r.err.substr(first.size(), 7), "Fatal: ");
    EXPECT_EQ(file(), sample());
    EXPECT_TRUE(std::filesystem::is_empty(dir / "params.lst"));
}

// ---- Edit mode: the transcriber ----

TEST_F(Quillet, EmptyRepliesChangeNothing)
{
    const e2e::Result r = edit(sample(), "\n\n0412\n\n\n\n\n\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening() + piece_0412() + piece_prompt + finished));
    EXPECT_EQ(file(), sample());
}

TEST_F(Quillet, EndOfInputEndsTheDialogueAnywhere)
{
    const e2e::Result r = edit(sample(), "\n\n0412\n7");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening() + piece_0412() + piece_prompt + finished));
    EXPECT_EQ(file(), with(sample(), at(1, 38), "000007001388"));
}

TEST_F(Quillet, LowerCaseTwoCharacterIdIsStoredInCapitalsAndStamped)
{
    const e2e::Result r = edit(sample(), "tq\n\n0412\n\n\n\nY\n\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening() + piece_0412() + piece_prompt + finished));
    std::string expected = with(sample(), 0, "TQ  0001");
    expected = with(expected, at(3, 34), "*TQ  " + stamped_date(at(3, 39)));
    EXPECT_EQ(file(), expected);
}

TEST_F(Quillet, NewNameIsCutToFiftySixAndBytesFourToSevenKept)
{
    const std::string long_name = "Hepzibah Winterbottom-Farquharson of Lower Ebbington Parva";
    const e2e::Result r = edit(sample(), "\n" + long_name + "\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(file(), with(sample(), 0, header("MJB", long_name.substr(0, 56))));
}

TEST_F(Quillet, IdOfFiveCharactersIsRefused)
{
    const std::string message = "Error: Transcriber id abcde is longer than 4 characters, not changed\n";
    const e2e::Result r = edit(sample(), "abcde\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening("MJB ", "Margery J. Bellweather", message) + piece_prompt + finished));
    EXPECT_EQ(file(), sample());

    edit(sample(), "abcde\nAnn Brackley\n");
    EXPECT_EQ(file(), with(sample(), 0, header("MJB", "Ann Brackley")));
}

// ---- Edit mode: pieces and counts ----

TEST_F(Quillet, PieceNumberIsComparedWhole)
{
    const e2e::Result r = edit(sample(), "\n\n412\n0412 \n" + std::string(200, '9') + "\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening() + piece_prompt + "Error: Piece 412 not found\n" + piece_prompt +
                             "Error: Piece 0412  not found\n" + piece_prompt + "Error: Piece " +
                             std::string(200, '9') + " not found\n" + piece_prompt + finished));
    EXPECT_EQ(file(), sample());
}

TEST_F(Quillet, OnlyARecordCountWritesBothCounts)
{
    const e2e::Result r = edit(sample(), "\n\n0413\n\n1234\n\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening() + counts("Thornleigh", "1341097", 0, 0) + not_updated("Mossgate") +
                             piece_prompt + finished));
    EXPECT_EQ(file(), with(sample(), at(5, 38), "000000001234"));
}

TEST_F(Quillet, CountReplyMustBeANumber)
{
    // Piece 0413 holds the counts 0 and 0. A refused reply keeps its count,
    // and the other reply still applies.
    const struct {
        std::string households, records;
        bool households_refused, records_refused;
        std::string stored;  // bytes 38-49 of the piece record after the run
    } cases[] = {
        {"abc", "", true, false, "000000000000"},
        {"1,388", "", true, false, "000000000000"},
        {"12abc", "1388", true, false, "000000001388"},
        {"3.5", "", true, false, "000000000000"},
        {"   ", "", true, false, "000000000000"},
        {" 12 ", "", false, false, "000012000000"},
        {"+12", "\t7", false, false, "000012000007"},
        {"", "", false, false, "000000000000"},
        {"42", "none", false, true, "000042000000"},
    };
    const auto message = [](bool refused, const std::string& reply) {
        return refused ? "Error: Count " + reply + " is not a number, not changed\n" : std::string();
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("replies <" + c.households + "> <" + c.records + ">");
        const e2e::Result r = edit(sample(), "\n\n0413\n" + c.households + "\n" + c.records + "\n\n\n");
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, console(opening() +
                                 counts("Thornleigh", "1341097", 0, 0, message(c.households_refused, c.households)) +
                                 message(c.records_refused, c.records) + not_updated("Mossgate") + piece_prompt +
                                 finished));
        EXPECT_EQ(file(), with(sample(), at(5, 38), c.stored));
    }
}

TEST_F(Quillet, CountsOutsideSixDigitsAreRefused)
{
    const std::string refused = "Error: Count -1 is not between 0 and 999999, not changed\n";
    const e2e::Result r = edit(sample(), "\n\n0587\n-1\n1000000\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening() + counts("Wendlesham", "1341122", 96, 421, refused) +
                             "Error: Count 1000000 is not between 0 and 999999, not changed\n" + piece_prompt +
                             finished));
    EXPECT_EQ(file(), sample());

    edit(sample(), "\n\n0587\n-1\n999999\n\n");
    EXPECT_EQ(file(), with(sample(), at(7, 38), "000096999999"));
}

TEST_F(Quillet, DamagedCountIsWrittenBackAsItStood)
{
    const std::string damaged = with(sample(), at(7, 38), "-00012");
    const e2e::Result r = edit(damaged, "\n\n0587\n\n5\n\n");
    EXPECT_EQ(r.err, console(opening() + counts("Wendlesham", "1341122", -12, 421) + piece_prompt + finished));
    EXPECT_EQ(file(), with(damaged, at(7, 44), "000005"));
}

TEST_F(Quillet, LastPieceWithoutParishesReturnsToThePrompt)
{
    const e2e::Result r = edit(sample(), "\n\n0587\n12\n\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening() + counts("Wendlesham", "1341122", 96, 421) + piece_prompt + finished));
    EXPECT_EQ(file(), with(sample(), at(7, 38), "000012000421"));
}

TEST_F(Quillet, OnlyTheFirstOfDuplicatePiecesIsEdited)
{
    const std::string contents = sample() + piece("0413", "Elsewhere", "9999999", "000001", "000002") +
                                 unstamped("0413", "Far Mossgate");
    const e2e::Result r = edit(contents, "\n\n0413\n5\n\nY\n\n");
    EXPECT_EQ(r.err, console(opening() + counts("Thornleigh", "1341097", 0, 0) + not_updated("Mossgate") +
                             piece_prompt + finished));
    std::string expected = with(contents, at(5, 38), "000005000000");
    expected = with(expected, at(6, 34), "*MJB " + stamped_date(at(6, 39)));
    EXPECT_EQ(file(), expected);
}

TEST_F(Quillet, HeaderOnlyFileHasNoPieces)
{
    const std::string contents = header("AB", "Ann Brackley");
    const e2e::Result r = edit(contents, "\n\n0412\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening("AB  ", "Ann Brackley") + piece_prompt + "Error: Piece 0412 not found\n" +
                             piece_prompt + finished));
    EXPECT_EQ(file(), contents);

    list(contents);
    EXPECT_EQ(listing(), target.text(listing_heading("AB  ", "Ann Brackley")));
}

TEST_F(Quillet, PartialLastRecordIsNotAPiece)
{
    const std::string contents = sample() + piece("0999", "Nowhere", "1", "000001", "000001").substr(0, 50);
    const e2e::Result r = edit(contents, "\n\n0999\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening() + piece_prompt + "Error: Piece 0999 not found\n" + piece_prompt + finished));
    EXPECT_EQ(file(), contents);
}

// ---- Edit mode: update stamps ----

TEST_F(Quillet, OnlyASingleYSetsOrClears)
{
    const e2e::Result r = edit(sample(), "\n\n0412\n\n\nyes\nYES\nN\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, console(opening() + piece_0412() + piece_prompt + finished));
    EXPECT_EQ(file(), sample());
}

TEST_F(Quillet, StarAndCMarksAreClearedAndTheListingShowsIt)
{
    const e2e::Result r = edit(sample(), "\n\n0412\n\n\ny\n\nY\n\n");
    EXPECT_EQ(r.status, 0);
    std::string expected = with(sample(), at(2, 34), std::string(27, '\0'));
    expected = with(expected, at(4, 34), std::string(27, '\0'));
    EXPECT_EQ(file(), expected);

    list(file());
    const std::string text = listing();
    EXPECT_NE(text.find(target.text("Civil parish: Thornleigh St Agnes, Not updated\n")), std::string::npos);
    EXPECT_NE(text.find(target.text("Civil parish: Crookfold, Not updated\n")), std::string::npos);
}

TEST_F(Quillet, SetStampKeepsTheRestOfTheRecord)
{
    const e2e::Result r = edit(sample(), "\n\n0412\n\n\n\ny\n\n0412\n\n\n\n\n\n\n");
    EXPECT_EQ(r.status, 0);
    const std::string date = stamped_date(at(3, 39));
    // The piece is read afresh the second time: Little Haddow now shows its stamp.
    EXPECT_EQ(r.err, console(opening() + piece_0412() + counts("Thornleigh", "1341097", 312, 1388) +
                             updated("Thornleigh St Agnes", "MJB ", "14Mar2024") +
                             updated("Little Haddow", "MJB ", date) +
                             updated("Crookfold", "RTW ", "02Nov2023") + piece_prompt + finished));
    const std::string expected = with(sample(), at(3, 34), "*MJB " + date);
    EXPECT_EQ(file(), expected);
    EXPECT_EQ(file().substr(at(3, 48), 16), "kept bytes 13end");
}

// ---- Every confirmed change is in the file at once ----

TEST_F(Quillet, ConfirmedChangesSurviveAKill)
{
    e2e::write_file(data(), sample());
    date_before = today();
    e2e::Invocation editor;
    editor.program = "quillet";
    editor.args = {data_arg()};
    editor.stdin_text = "tq\n\n0412\n7\n\n\nY\n";
    e2e::Started session(editor);
    // Crookfold's question comes after Little Haddow's stamp was written.
    ASSERT_TRUE(session.wait_for("Civil parish: Crookfold")) << session.err_so_far();
    session.signal(SIGKILL);
    EXPECT_EQ(session.finish().status, -SIGKILL);
    date_after = today();

    std::string expected = with(sample(), 0, "TQ  0001");
    expected = with(expected, at(1, 38), "000007001388");
    expected = with(expected, at(3, 34), "*TQ  " + stamped_date(at(3, 39)));
    EXPECT_EQ(file(), expected);
}

}  // namespace
