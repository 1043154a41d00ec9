// The editor when its parameters file is not what it should be: not openable
// for update, or cut short inside its last record. In every case: a clear
// message, a defined exit status, and the data file's bytes unchanged except
// where a reply confirmed a change. (A read-only file, a file cut short inside
// the header and a listing that cannot be opened: quillet_e2e_test.cpp; a
// listing that cannot be written whole and two editors at once:
// hostile_test.cpp.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "harness.h"
#include "paramfile_builder.h"

namespace {

namespace fs = std::filesystem;
using e2e::Target;

using paramfile::header;
using paramfile::piece;
using paramfile::unstamped;

const std::string params = header("DLR", "Dorcas L. Rendle") +
                           piece("0655", "Coldharbour", "2209341", "000031", "000140") +
                           unstamped("0655", "Coldharbour Cross") + unstamped("0655", "Yeoford Mill");

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// --- the file cannot be opened for update ---

// Opening a directory "rb+" fails for every user, root included.
TEST(FaultQuillet, ParametersFileIsADirectory)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    fs::create_directory(dir / "params.dat");
    const std::string path = target.native(dir / "params.dat");

    const e2e::Result r = e2e::run("quillet", {path}, "ABC\n");
    EXPECT_EQ(r.status, 12);
    EXPECT_TRUE(contains(r.err, target.text("Fatal: Data file " + path + " failed to open\nFatal: "))) << r.err;
    EXPECT_FALSE(contains(r.err, "Enter")) << "no dialogue without a file";
    EXPECT_TRUE(fs::is_empty(dir / "params.dat"));
}

// --- the file is cut short ---

// A partial record at the end is ignored as if the file ended before it, in
// both modes; edits elsewhere work and never reach it.
TEST(FaultQuillet, TruncatedInsideTheLastRecord)
{
    const Target& target = Target::get();
    const std::string partial = piece("0656", "Brackenford", "2209341", "000007", "000029").substr(0, 41);
    const std::string data = params + partial;

    {
        SCOPED_TRACE("edit mode");
        e2e::TempDir dir;
        e2e::write_file(dir / "params.dat", data);
        const std::string path = target.native(dir / "params.dat");
        const e2e::Result r = e2e::run("quillet", {path}, "\n\n0656\n0655\n32\n\nY\n\n\n");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(contains(r.err, target.text("Error: Piece 0656 not found\n"))) << r.err;
        EXPECT_TRUE(contains(r.err, target.text("\nQuillet finished\n"))) << r.err;

        const std::string after = e2e::read_file(dir / "params.dat");
        ASSERT_EQ(after.size(), data.size());
        std::string expected = data;
        expected.replace(64 + 38, 12, "000032000140");  // the counts of piece 0655
        EXPECT_EQ(after.substr(0, 64 * 2), expected.substr(0, 64 * 2));
        // The first parish is stamped: "*", the id and a date; the rest of its stamp and record kept.
        EXPECT_EQ(after.substr(64 * 2, 34), data.substr(64 * 2, 34));
        EXPECT_EQ(after.substr(64 * 2 + 34, 5), "*DLR ");
        EXPECT_EQ(after.substr(64 * 2 + 48), data.substr(64 * 2 + 48));
    }
    {
        SCOPED_TRACE("listing mode");
        e2e::TempDir dir;
        e2e::write_file(dir / "params.dat", data);
        const e2e::Result r = e2e::run("quillet", {"-a", target.native(dir / "params.dat")});
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string listing = e2e::read_file(dir / "params.lst");
        EXPECT_TRUE(contains(listing, target.text("Civil parish: Yeoford Mill, Not updated\n"))) << listing;
        EXPECT_FALSE(contains(listing, "0656")) << listing;
        EXPECT_FALSE(contains(listing, "Error:")) << "a partial last record is not reported";
        EXPECT_EQ(e2e::read_file(dir / "params.dat"), data);
    }
}

}  // namespace
