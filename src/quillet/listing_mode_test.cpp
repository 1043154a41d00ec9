#include "listing_mode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "conventions.h"
#include "quillet_support.h"

namespace quillet {
namespace {

using namespace test;

std::string params()
{
    return margery_file() + bytes(piece_record("0413"));
}

std::string read_text(const std::filesystem::path& path)
{
    const File stream(std::fopen(path.c_str(), "rb"));
    std::string all;
    char buffer[4096];
    for (std::size_t got; stream && (got = std::fread(buffer, 1, sizeof buffer, stream.get())) > 0;)
        all.append(buffer, got);
    return all;
}

TEST(ListingOnAFailingDisk, ShortRecordEndsTheListingAndIsNamedInIt)
{
    const auto dir = std::filesystem::temp_directory_path() / ("quillet_listing_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    // The failure inside record index 2, and at its very start: the third record of the file.
    for (const std::size_t readable : {2 * record_size + 10, 2 * record_size}) {
        SCOPED_TRACE(readable);
        Disk disk{.bytes = params(), .readable = readable};
        ParamFile file(open_disk(disk));
        Session session;
        session.data_path = (dir / "params.dat").string();
        ASSERT_EQ(file.read(0, session.header_record), ReadResult::whole);
        session.header = read_header_fields(session.header_record);

        ConsoleCapture capture;
        EXPECT_EQ(run_listing(file, session), exit_status::quillet::done);
        EXPECT_EQ(capture.text(), "\nOutput file is " + (dir / "params.lst").string() + "\n");
        EXPECT_TRUE(disk.closed);
        EXPECT_EQ(read_text(dir / "params.lst"),
                  "Listing for quillet v1.3.1 (Merrowby) listing " + session.data_path +
                      "\n[When reporting program errors, be sure to send this file and the original data file]\n\n"
                      "Transcriber id : MJB , Name : Margery\n"
                      "\nPiece 0412\n"
                      "Registration District: Thornleigh, LDS Film: 1341097\n"
                      "Current household count: 42, Record count: 180\n\n"
                      "Error: record 3 short - damaged file\n");
        EXPECT_EQ(disk.bytes, params());
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quillet
