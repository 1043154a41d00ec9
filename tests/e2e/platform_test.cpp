// What the operating system decides: line ends of the text files, untranslated
// binary files, backslash paths, in-place edits, and the prompt of a program
// started without arguments. Run natively these pin the Linux behaviour; run
// under Wine (E2E_WINE) they prove the Windows programs.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"
#include "paramfile_builder.h"

namespace {

using e2e::Target;

// A small census piece as a spreadsheet saves it: three header rows, then one
// row per person, CR LF line ends.
const std::string piece_csv =
    "RG11 piece 123,,\r\n"
    "Civil Parish,ED,Folio,Page,Schedule,House Number,Address,Uninhabited Flag,Surname,Forenames,"
    "Name Flag,Relationship,Condition,Sex,Age,Detail Flag,Occupation,Employed Status,"
    "Occupation Flag,Chapman Code,Birth Place,Birth Place Flag,Disability,Language,Notes\r\n"
    "Piece 123 - transcribed for the tests,,\r\n"
    "Merrowby,1,4,1,1,,Church Lane,,Ashdown,Thomas,,Head,M,M,46,,Agricultural Labourer,,,SOM,Merrowby,,,,\r\n"
    ",,,,,,,,Ashdown,Hannah,,Wife,M,F,44,,,,,SOM,Cheddon,,,,\r\n"
    ",,,,,,,,Ashdown,William,,Son,U,M,17,,Plough Boy,,,SOM,Merrowby,,,,\r\n"
    ",,,,2,,Church Lane,,Pellow,Richard,,Head,W,M,71,,Retired Miller,,,DEV,Tiverton,,,,\r\n"
    ",,,,,,,,Quarrie,Mary Ann,,Serv,U,F,19,,General Servant,,,SOM,Kingston,,,,\r\n";
const int piece_rows = 5;

// True when every line feed of text ends a line in the platform's way, and
// no carriage return stands anywhere else.
::testing::AssertionResult has_platform_line_ends(const std::string& text)
{
    const bool crlf = Target::get().newline == "\r\n";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lf_after_cr = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
        if (text[i] == '\n' && crlf != lf_after_cr)
            return ::testing::AssertionFailure() << "line feed at byte " << i << " wrongly ended";
        if (text[i] == '\r' && (!crlf || i + 1 == text.size() || text[i + 1] != '\n'))
            return ::testing::AssertionFailure() << "stray carriage return at byte " << i;
    }
    return ::testing::AssertionSuccess();
}

bool all_digits(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The record count that the converter's console summary reports
// ("Output <n> records"), or -1.
int records_reported(const std::string& console)
{
    for (std::size_t at = console.find("Output "); at != std::string::npos; at = console.find("Output ", at + 1)) {
        const std::size_t digits = at + 7;
        const std::size_t end = console.find(' ', digits);
        if (end != std::string::npos && all_digits(console.substr(digits, end - digits)) &&
            console.compare(end, 8, " records") == 0)
            return std::stoi(console.substr(digits, end - digits));
    }
    return -1;
}

// A date as the editor stamps it: two-digit day, English month, four-digit year.
bool is_stamp_date(const std::string& date)
{
    static const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (date.size() != 9 || !all_digits(date.substr(0, 2)) || date[0] > '3' || !all_digits(date.substr(5)))
        return false;
    const std::size_t month = months.find(date.substr(2, 3));
    return month != std::string::npos && month % 3 == 0;
}

std::string header_line(const std::string& typed_path)
{
    return "Error listing for tabulon (Merrowby) v4.11.2 <DATE> converting " + typed_path +
           Target::get().newline;
}

// --- the converter's files ---

TEST(Platform, ListingIsTextAndDataIsRecordsOfFixedLength)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    e2e::write_file(dir / "RG110123.CSV", piece_csv);
    const std::string input = target.native(dir / "RG110123.CSV");

    const e2e::Result result = e2e::run("tabulon", {input});
    EXPECT_TRUE(result.status == 0 || result.status == 4) << result.status << result.err;

    const std::string listing = e2e::read_file(dir / "RG110123.erc");
    EXPECT_TRUE(has_platform_line_ends(listing));
    EXPECT_EQ(e2e::mask_date(listing).substr(0, header_line(input).size()), header_line(input));
    EXPECT_NE(listing.find(target.text("\nOutput file is " + target.native(dir / "rg110123.dat") + "\n")),
              std::string::npos);

    // Records are written in binary: exactly rlen bytes each, no line ends added.
    EXPECT_EQ(records_reported(result.err), piece_rows);
    EXPECT_EQ(e2e::read_file(dir / "rg110123.dat").size(), std::size_t{piece_rows} * 256);
}

TEST(Platform, RelativeInputPathNamesTheFilesBesideIt)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    std::filesystem::create_directories(dir / "piece" / "in");
    e2e::write_file(dir / "piece" / "in" / "RG110123.CSV", piece_csv);
    const std::string typed = std::string("piece") + target.sep + "in" + target.sep + "RG110123.CSV";

    const e2e::Result result = e2e::run("tabulon", {"-q", typed}, "", dir.path());
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string listing = e2e::read_file(dir / "piece" / "in" / "RG110123.erc");
    EXPECT_EQ(e2e::mask_date(listing).substr(0, header_line(typed).size()), header_line(typed));
    EXPECT_EQ(e2e::read_file(dir / "piece" / "in" / "rg110123.dat").size(), std::size_t{piece_rows} * 256);
    const std::string out_path = std::string("piece") + target.sep + "in" + target.sep + "rg110123.dat";
    EXPECT_NE(result.err.find("Output file is " + out_path), std::string::npos) << result.err;
}

TEST(Platform, DriveLetterPathIsSplitAtBackslashes)
{
    const Target& target = Target::get();
    if (!target.windows)
        GTEST_SKIP() << "drive letters are Windows paths";
    // C: is the prefix's drive_c.
    e2e::TempDir dir(std::filesystem::path(target.wineprefix) / "drive_c");
    e2e::write_file(dir / "RG110123.CSV", piece_csv);
    const std::string windows_dir = "C:\\" + dir.path().filename().string();

    const e2e::Result result = e2e::run("tabulon", {windows_dir + "\\RG110123.CSV"});
    EXPECT_TRUE(result.status == 0 || result.status == 4) << result.status << result.err;
    EXPECT_NE(result.err.find("Output file is " + windows_dir + "\\rg110123.dat\r\n"), std::string::npos)
        << result.err;
    EXPECT_TRUE(e2e::exists(dir / "RG110123.erc"));
    EXPECT_EQ(e2e::read_file(dir / "rg110123.dat").size(), std::size_t{piece_rows} * 256);
}

TEST(Platform, CodeTablesAreLookedForInTheProgramsDirectory)
{
    const Target& target = Target::get();
    e2e::TempDir bin, data;
    const auto tabulon = e2e::stage_program("tabulon", bin.path());  // no tables beside this copy
    e2e::write_file(data / "RG110123.CSV", piece_csv);

    const e2e::Result result = e2e::run(tabulon.string(), {target.native(data / "RG110123.CSV")});
    EXPECT_EQ(result.status, 4) << result.err;
    const std::string listing = e2e::read_file(data / "RG110123.erc");
    EXPECT_EQ(listing.find(target.text("Warning: Aux file " + target.native(bin / "CHAP1891.TXT") +
                                       " failed to open, county code checking disabled\n\n")),
              0u)
        << listing;
}

// --- the editor's in-place changes ---

using paramfile::field;

// A parameters file of 64-byte records: header, piece 0123 with two civil
// parishes (the second one updated), and piece 0124 with none. The bytes the
// editor leaves alone hold line ends, Ctrl-Z and NULs, which a text-mode
// stream would translate or stop at.
std::string parameters_file()
{
    const std::string odd("\r\n\x1a", 3);
    const std::string header = "ABCD" + odd + "\n" + field("Jane Transcriber", 56);
    const std::string piece = "0123" + std::string("\0\r\n\x1a", 4) + field("Merrowby", 20) +
                              field("1234567", 8) + "\r\n" + "000002" + "000005" +
                              field(odd + "unused", 14);
    const std::string parish1 = "0123" + odd + " " + field("Merrowby", 20) + field("\n", 6) +
                                std::string(27, ' ') + "\x1a\r\n";
    const std::string parish2 = "0123" + odd + " " + field("Cheddon", 20) + field("", 6) +
                                "*EFGH01Jan1900" + field("stamp\r\n", 13) + "\n\x1a" + " ";
    const std::string other = "0124" + odd + " " + field("Tiverton", 20) + field("", 8) + "  " +
                              "000001000003" + field("", 14);
    return header + piece + parish1 + parish2 + other;
}

TEST(Platform, EditorChangesTheFileInPlace)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    const std::string before = parameters_file();
    ASSERT_EQ(before.size(), 5u * 64);
    e2e::write_file(dir / "batch1.dat", before);

    // Keep id and name; piece 0123: keep the households, 42 records; set the
    // stamp of the first parish, clear that of the second; then end.
    const std::string replies = "\n\n0123\n\n42\nY\ny\n\n";
    const e2e::Result result = e2e::run("quillet", {target.native(dir / "batch1.dat")}, replies);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("Quillet finished"), std::string::npos) << result.err;

    const std::string after = e2e::read_file(dir / "batch1.dat");
    ASSERT_EQ(after.size(), before.size());
    std::string expected = before;
    expected.replace(64 + 38, 12, "000002000042");
    expected.replace(2 * 64 + 34, 5, "*ABCD");
    expected.replace(2 * 64 + 39, 9, after.substr(2 * 64 + 39, 9));  // today, checked below
    expected.replace(3 * 64 + 34, 27, std::string(27, '\0'));
    EXPECT_EQ(after, expected);
    EXPECT_TRUE(is_stamp_date(after.substr(2 * 64 + 39, 9))) << after.substr(2 * 64 + 39, 9);
}

TEST(Platform, EditorListingIsText)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    e2e::write_file(dir / "batch1.dat", parameters_file());
    const std::string data_path = target.native(dir / "batch1.dat");

    const e2e::Result result = e2e::run("quillet", {"-a", data_path});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, target.text("\nOutput file is " + target.native(dir / "batch1.lst") + "\n"));
    const std::string listing = e2e::read_file(dir / "batch1.lst");
    EXPECT_TRUE(has_platform_line_ends(listing));
    const std::string first_line = target.text("Listing for quillet v1.3.1 (Merrowby) listing " + data_path + "\n");
    EXPECT_EQ(listing.substr(0, first_line.size()), first_line);
    EXPECT_NE(listing.find(target.text("Civil parish: Cheddon, Updated by: EFGH On 01Jan1900\n")),
              std::string::npos)
        << listing;
    EXPECT_EQ(e2e::read_file(dir / "batch1.dat"), parameters_file());
}

// --- started without arguments ---

TEST(Platform, ConverterPromptsForItsCommandLine)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    std::filesystem::create_directories(dir / "My Documents");
    e2e::write_file(dir / "My Documents" / "RG110123.CSV", piece_csv);
    const std::string input = target.native(dir / "My Documents" / "RG110123.CSV");

    const e2e::Result result = e2e::run("tabulon", {}, "-q \"" + input + "\"\n\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, target.text("Enter command : \nProgram Starting\n\n"
                                      "\nProgram Complete\n(hit return to exit)..."));
    EXPECT_EQ(records_reported(result.err), piece_rows);
    EXPECT_EQ(e2e::read_file(dir / "My Documents" / "rg110123.dat").size(), std::size_t{piece_rows} * 256);
}

}  // namespace
