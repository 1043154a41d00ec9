#include "paramfile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "quillet_support.h"

namespace quillet {
namespace {

using namespace test;

// 0 header; 1 piece 0412 with parishes 2 (stamped) and 3; 4 piece 0413; 5 a
// second piece 0412.
std::string standard_file()
{
    return margery_file() + bytes(piece_record("0413")) + bytes(piece_record("0412", "000001000001"));
}

TEST(RecordFields, TextsEndAtNulAndNamesLoseTrailingBlanksOnly)
{
    Record record = record_with({{8, "Ann\tB  "}});
    EXPECT_EQ(field_name(record, 8, 20), "Ann\tB");
    record[10] = '\0';
    EXPECT_EQ(field_text(record, 8, 20), "An");
}

TEST(RecordFields, HeaderIdKeepsItsBlanks)
{
    const Header header = read_header_fields(record_with({{0, "AB"}, {8, "Hester Quayle"}}));
    EXPECT_EQ(header.id, "AB  ");
    EXPECT_EQ(header.name, "Hester Quayle");
}

TEST(RecordFields, BuildHeaderKeepsBytesFourToSevenAndCutsTheName)
{
    Record old = record_with({{0, "MJB"}, {4, "0001"}, {8, "Old Name"}});
    const Record built = build_header({"TQ", std::string(60, 'n')}, old);
    EXPECT_EQ(bytes(built), "TQ  0001" + std::string(56, 'n'));
}

TEST(RecordFields, CountsReadAsLeadingDecimalAndWrittenAsSixDigits)
{
    const Piece piece = read_piece_fields(piece_record("0123", "  42x 000180"));
    EXPECT_EQ(piece.number, "0123");
    EXPECT_EQ(piece.district, "Thornleigh");
    EXPECT_EQ(piece.film, "1341097");
    EXPECT_EQ(piece.households.value, 42);
    EXPECT_EQ(piece.records.value, 180);
    EXPECT_EQ(count_text(piece.households, piece.records), "000042000180");
}

TEST(RecordFields, CountThatDoesNotFitSixDigitsIsWrittenBackAsHeld)
{
    Piece piece = read_piece_fields(piece_record("0123", "-00012000007"));
    EXPECT_EQ(piece.households.value, -12);
    piece.records.value = 9;
    EXPECT_EQ(count_text(piece.households, piece.records), "-00012000009");
}

TEST(RecordFields, StarAndCMarkUpdatedOtherBytesDoNot)
{
    const Parish starred = read_parish_fields(parish_record("0123", "Mossgate", "*MJB 14Mar2024"));
    EXPECT_TRUE(starred.updated);
    EXPECT_EQ(starred.updated_by, "MJB ");
    EXPECT_EQ(starred.updated_on, "14Mar2024");
    EXPECT_TRUE(read_parish_fields(parish_record("0123", "Mossgate", "CRTW 02Nov2023")).updated);
    EXPECT_FALSE(read_parish_fields(parish_record("0123", "Mossgate", "c")).updated);
    Record nul = parish_record("0123", "Mossgate", "");
    nul[34] = '\0';
    EXPECT_FALSE(read_parish_fields(nul).updated);
}

// A parameters file in a temporary stream.
class ParamFileTest : public ::testing::Test {
protected:
    void load(const std::string& contents)
    {
        File stream(std::tmpfile());
        ASSERT_TRUE(stream);
        std::fwrite(contents.data(), 1, contents.size(), stream.get());
        file_ = std::make_unique<ParamFile>(std::move(stream));
    }

    std::string contents()
    {
        std::FILE* stream = file_->stream();
        std::fseek(stream, 0, SEEK_END);
        std::string all(static_cast<std::size_t>(std::ftell(stream)), '\0');
        std::fseek(stream, 0, SEEK_SET);
        all.resize(std::fread(all.data(), 1, all.size(), stream));
        return all;
    }

    std::unique_ptr<ParamFile> file_;
};

TEST_F(ParamFileTest, PartialLastRecordReadsAsEndOfFile)
{
    load(standard_file() + "0412 partial");
    Record record{};
    EXPECT_EQ(file_->read(5, record), ReadResult::whole);
    EXPECT_EQ(file_->read(6, record), ReadResult::end);
    EXPECT_EQ(file_->read(7, record), ReadResult::end);
}

TEST_F(ParamFileTest, FindsOnlyTheFirstOfTwoPiecesWithOneNumber)
{
    load(standard_file());
    const Found found = file_->find_piece("0412");
    EXPECT_EQ(found.result, ReadResult::whole);
    EXPECT_EQ(found.index, 1);
    EXPECT_EQ(file_->find_piece("412").result, ReadResult::end);
    EXPECT_EQ(file_->find_piece("0413").index, 4);
}

TEST_F(ParamFileTest, ParishWalkStopsAtAnotherPieceAndAtTheEnd)
{
    load(standard_file());
    RecordIndex index = 1;
    Record record{};
    EXPECT_EQ(file_->next_parish("0412", index, record), ReadResult::whole);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(file_->next_parish("0412", index, record), ReadResult::whole);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(file_->next_parish("0412", index, record), ReadResult::end);
    index = 5;
    EXPECT_EQ(file_->next_parish("0412", index, record), ReadResult::end);
}

TEST_F(ParamFileTest, WritesTouchOnlyTheirBytes)
{
    load(standard_file());
    std::string expected = standard_file();

    EXPECT_TRUE(file_->write_counts(4, "000007000008"));
    expected.replace(4 * 64 + 38, 12, "000007000008");
    EXPECT_TRUE(file_->set_stamp(3, "TQ", "07Dec2026"));
    expected.replace(3 * 64 + 34, 14, "*TQ  07Dec2026");
    EXPECT_TRUE(file_->clear_stamp(2));
    expected.replace(2 * 64 + 34, 27, std::string(27, '\0'));
    Record header = record_with({{0, "AB"}, {4, "keep"}, {8, "New"}});
    EXPECT_TRUE(file_->rewrite_header(header));
    expected.replace(0, 64, bytes(header));

    EXPECT_EQ(contents(), expected);
}

// ---- On a failing disk ----

TEST(FailingDisk, ReadThatFailsBeforeTheEndIsADamagedRecord)
{
    // The failure inside record 2, and at its very start.
    for (const std::size_t readable : {2 * record_size + 10, 2 * record_size}) {
        SCOPED_TRACE(readable);
        Disk disk{.bytes = standard_file(), .readable = readable};
        ParamFile file(open_disk(disk));
        Record record{};
        EXPECT_EQ(file.read(1, record), ReadResult::whole);
        EXPECT_EQ(file.read(2, record), ReadResult::damaged);
        EXPECT_EQ(file.find_piece("0412").result, ReadResult::whole);
        EXPECT_EQ(file.find_piece("0413").result, ReadResult::damaged);
        RecordIndex index = 1;
        EXPECT_EQ(file.next_parish("0412", index, record), ReadResult::damaged);
        EXPECT_EQ(index, 1);
    }
}

TEST(FailingDisk, EveryFailedWriteIsReportedWithItsReason)
{
    Disk disk{.bytes = standard_file(), .writes_fail = true};
    ParamFile file(open_disk(disk));
    EXPECT_FALSE(file.rewrite_header(record_with({{0, "AB"}})));
    EXPECT_EQ(file.write_error(), EIO);
    EXPECT_FALSE(file.write_counts(1, "000007000008"));
    EXPECT_FALSE(file.set_stamp(3, "TQ", "07Dec2026"));
    EXPECT_FALSE(file.clear_stamp(2));
    EXPECT_EQ(file.write_error(), EIO);
    EXPECT_EQ(disk.bytes, standard_file());
}

TEST(FailingDisk, PositioningThatFailsIsAFailedWrite)
{
    std::string expected = standard_file();
    Disk disk{.bytes = expected, .seekable = 3 * record_size};
    ParamFile file(open_disk(disk));
    EXPECT_TRUE(file.write_counts(1, "000007000008"));  // then on to record 2
    expected.replace(64 + 38, 12, "000007000008");
    EXPECT_TRUE(file.set_stamp(2, "TQ", "07Dec2026"));  // then on to record 3, the last place allowed
    expected.replace(2 * 64 + 34, 14, "*TQ  07Dec2026");
    EXPECT_FALSE(file.set_stamp(3, "TQ", "07Dec2026"));  // record 3's stamp lies beyond it
    EXPECT_EQ(file.write_error(), EINVAL);
    EXPECT_EQ(disk.bytes, expected);
}

TEST(FailingDisk, FarRecordGetsItsWholeOffset)
{
    // Record 40 000 000 starts past 2^31, beyond a 32-bit long.
    const std::string before = standard_file();
    Disk disk{.bytes = before, .seekable = 3 * record_size};
    ParamFile file(open_disk(disk));
    EXPECT_FALSE(file.write_counts(40'000'000, "000007000008"));
    EXPECT_EQ(disk.last_seek, off64_t{40'000'000} * 64 + 38);
    EXPECT_EQ(file.write_error(), EINVAL);
    EXPECT_EQ(disk.bytes, before);
}

}  // namespace
}  // namespace quillet
