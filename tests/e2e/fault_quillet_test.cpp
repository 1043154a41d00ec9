// The editor when its parameters file is not what it should be: not openable
// for update, cut short inside the header or inside its last record, or its
// listing cannot be written. In every case: a clear message, a defined exit
// status, and the data file's bytes unchanged except where a reply confirmed
// a change.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "harness.h"

namespace {

namespace fs = std::filesystem;
using e2e::Target;

std::string field(const std::string& text, std::size_t width)
{
    std::string padded = text.substr(0, width);
    padded.resize(width, ' ');
    return padded;
}

std::string header_record(const std::string& id, const std::string& name)
{
    return field(id, 4) + "0003" + field(name, 56);
}

std::string piece_record(const std::string& number, const std::string& district, int households, int records)
{
    char counts[13];
    std::snprintf(counts, sizeof counts, "%06d%06d", households, records);
    return field(number, 4) + field("", 4) + field(district, 20) + field("2209341", 8) + "  " + counts +
           field("", 14);
}

std::string parish_record(const std::string& number, const std::string& name)
{
    return field(number, 4) + field("", 4) + field(name, 20) + field("", 6) + std::string(27, '\0') + "   ";
}

const std::string params = header_record("DLR", "Dorcas L. Rendle") + piece_record("0655", "Coldharbour", 31, 140) +
                           parish_record("0655", "Coldharbour Cross") + parish_record("0655", "Yeoford Mill");

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

TEST(FaultQuillet, ParametersFileReadOnly)
{
    const Target& target = Target::get();
    if (target.windows)
        GTEST_SKIP() << "POSIX permissions";
    if (geteuid() == 0)
        GTEST_SKIP() << "root opens a read-only file for update; see ParametersFileIsADirectory";
    e2e::TempDir dir;
    e2e::write_file(dir / "params.dat", params);
    fs::permissions(dir / "params.dat", fs::perms::owner_read);
    const std::string path = target.native(dir / "params.dat");

    const e2e::Result r = e2e::run("quillet", {path}, "ABC\nNew Name\n0655\n1\n2\nY\nY\n\n");
    fs::permissions(dir / "params.dat", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(r.status, 12);
    EXPECT_TRUE(contains(r.err, "Fatal: Data file " + path + " failed to open\nFatal: ")) << r.err;
    EXPECT_EQ(e2e::read_file(dir / "params.dat"), params);
}

// --- the file is cut short ---

TEST(FaultQuillet, TruncatedInsideTheHeader)
{
    const Target& target = Target::get();
    for (const std::size_t size : {0, 1, 40, 63}) {
        SCOPED_TRACE(size);
        for (const bool listing_mode : {false, true}) {
            SCOPED_TRACE(listing_mode ? "listing mode" : "edit mode");
            e2e::TempDir dir;
            const std::string cut = params.substr(0, size);
            e2e::write_file(dir / "params.dat", cut);
            const std::string path = target.native(dir / "params.dat");
            const e2e::Result r = listing_mode ? e2e::run("quillet", {"-a", path})
                                               : e2e::run("quillet", {path}, "ABC\nNew Name\n0655\n5\n5\n");
            EXPECT_EQ(r.status, 16);
            EXPECT_EQ(r.err, target.text("Fatal: No header record\n"));
            EXPECT_EQ(e2e::read_file(dir / "params.dat"), cut);
            EXPECT_FALSE(e2e::exists(dir / "params.lst")) << "no listing of a file without a header";
        }
    }
}

// A partial record at the end is ignored as if the file ended before it, in
// both modes; edits elsewhere work and never reach it.
TEST(FaultQuillet, TruncatedInsideTheLastRecord)
{
    const Target& target = Target::get();
    const std::string partial = piece_record("0656", "Brackenford", 7, 29).substr(0, 41);
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

// --- the listing cannot be written ---

TEST(FaultQuillet, ListingNameTakenByADirectory)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    e2e::write_file(dir / "params.dat", params);
    fs::create_directory(dir / "params.lst");

    const e2e::Result r = e2e::run("quillet", {"-a", target.native(dir / "params.dat")});
    EXPECT_EQ(r.status, 12);
    EXPECT_TRUE(contains(r.err, target.text("Fatal: Output file " + target.native(dir / "params.lst") +
                                            " failed to open\nFatal: ")))
        << r.err;
    EXPECT_EQ(e2e::read_file(dir / "params.dat"), params);
    EXPECT_TRUE(fs::is_empty(dir / "params.lst"));
}

}  // namespace
