#include "edit_mode.h"

#include <gtest/gtest.h>

#include <string>

#include "conventions.h"
#include "quillet_support.h"

namespace quillet {
namespace {

using namespace test;

// 0 header; 1 piece 0412 with parishes 2 (stamped) and 3 (not); 4 piece 0413
// with parish 5.
std::string params()
{
    return margery_file(record_with({{0, "MJB"}, {4, "0001"}, {8, "Margery"}})) + bytes(piece_record("0413")) +
           bytes(parish_record("0413", "Haddow", ""));
}

const std::string opening = "Transcriber id : MJB , Name : Margery\n"
                            "\n\nEnter New Transcriber id (RETURN to leave unchanged): "
                            "\n\nEnter New Name (RETURN to leave unchanged): ";
const std::string piece_prompt = "\nEnter Piece Number (4 digits, RETURN to end): ";
const std::string piece_0412 = piece_prompt +
                               "Registration District: Thornleigh, LDS Film: 1341097\n"
                               "Current household count: 42, Record count: 180"
                               "\n\nEnter New household count (RETURN to leave unchanged): "
                               "Enter New record count (RETURN to leave unchanged): ";
const std::string mossgate = "Civil parish: Mossgate, Updated by: MJB  On 14Mar2024\n"
                             "\nEnter Y to clear, RETURN to leave unchanged): ";
const std::string crookfold = "Civil parish: Crookfold, Not updated\n"
                              "\nEnter Y to set, RETURN to leave unchanged): ";
const std::string damaged = "Error: Short record - damaged file\n";
const std::string write_failed = "Fatal: Data file census/params.dat write failed\nFatal: Input/output error\n";

// The dialogue over a file on a failing disk.
class EditOnAFailingDisk : public ::testing::Test {
protected:
    int edit(Disk& disk, const std::string& replies)
    {
        ParamFile file(open_disk(disk));
        Session session;
        session.data_path = "census/params.dat";
        session.date = "07Dec2026";
        EXPECT_EQ(file.read(0, session.header_record), ReadResult::whole);
        session.header = read_header_fields(session.header_record);
        const File in = file_with(replies);
        ConsoleCapture capture;
        const int status = run_edit(Replies{in.get()}, file, session);
        console = capture.text();
        EXPECT_EQ(file.stream(), nullptr) << "the data file is closed";
        return status;
    }

    std::string console;
};

TEST_F(EditOnAFailingDisk, ShortRecordInThePieceSearchEndsTheRun)
{
    Disk disk{.bytes = params(), .readable = 3 * record_size + 10};  // record 3 fails
    EXPECT_EQ(edit(disk, "\n\n0413\n\n"), exit_status::quillet::damaged);
    EXPECT_EQ(console, opening + piece_prompt + damaged);
    EXPECT_TRUE(disk.closed);
    EXPECT_EQ(disk.bytes, params());
}

TEST_F(EditOnAFailingDisk, ShortRecordInTheParishWalkEndsTheRunAfterTheChangesBeforeIt)
{
    Disk disk{.bytes = params(), .readable = 3 * record_size};  // record 3 fails at its start
    EXPECT_EQ(edit(disk, "\n\n0412\n7\n\nY\n\n"), exit_status::quillet::damaged);
    EXPECT_EQ(console, opening + piece_0412 + mossgate + damaged);
    EXPECT_TRUE(disk.closed);
    std::string expected = params();
    expected.replace(record_size + 38, 12, "000007000180");
    expected.replace(2 * record_size + 34, 27, std::string(27, '\0'));
    EXPECT_EQ(disk.bytes, expected);
}

TEST_F(EditOnAFailingDisk, FailedWriteIsFatalWherever)
{
    const struct {
        const char* where;
        std::string replies;
        std::string console_before;
    } cases[] = {
        {"header rewrite", "tq\n\n0412\n\n", opening},
        {"count write", "\n\n0412\n5\n\n\n", opening + piece_0412},
        {"stamp clear", "\n\n0412\n\n\nY\n\n", opening + piece_0412 + mossgate},
        {"stamp set", "\n\n0412\n\n\n\nY\n\n", opening + piece_0412 + mossgate + crookfold},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        Disk disk{.bytes = params(), .writes_fail = true};
        EXPECT_EQ(edit(disk, c.replies), exit_status::fatal);
        EXPECT_EQ(console, c.console_before + write_failed);
        EXPECT_TRUE(disk.closed);
        EXPECT_EQ(disk.bytes, params());
    }
}

}  // namespace
}  // namespace quillet
