#include "paramfile.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quillet {
namespace {

// A blank record with texts placed at their offsets.
Record record_with(std::vector<std::pair<std::size_t, std::string>> texts)
{
    Record record;
    record.fill(' ');
    for (const auto& [offset, text] : texts)
        std::copy(text.begin(), text.end(), record.begin() + offset);
    return record;
}

std::string bytes(const Record& record)
{
    return std::string(record.begin(), record.end());
}

Record piece_record(const std::string& number, const std::string& counts = "000042000180")
{
    return record_with({{0, number}, {8, "Thornleigh"}, {28, "1341097"}, {38, counts}});
}

Record parish_record(const std::string& number, const std::string& name, const std::string& stamp)
{
    return record_with({{0, number}, {8, name}, {34, stamp}});
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
        FilePtr stream(std::tmpfile());
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

    std::string standard()
    {
        return bytes(record_with({{0, "MJB"}, {8, "Margery"}})) + bytes(piece_record("0412")) +
               bytes(parish_record("0412", "Mossgate", "*MJB 14Mar2024")) +
               bytes(parish_record("0412", "Crookfold", "")) + bytes(piece_record("0413")) +
               bytes(piece_record("0412", "000001000001"));
    }

    std::unique_ptr<ParamFile> file_;
};

TEST_F(ParamFileTest, PartialLastRecordReadsAsEndOfFile)
{
    load(standard() + "0412 partial");
    Record record{};
    EXPECT_EQ(file_->read(5, record), ReadResult::whole);
    EXPECT_EQ(file_->read(6, record), ReadResult::end);
    EXPECT_EQ(file_->read(7, record), ReadResult::end);
}

TEST_F(ParamFileTest, FindsOnlyTheFirstOfTwoPiecesWithOneNumber)
{
    load(standard());
    const Found found = file_->find_piece("0412");
    EXPECT_EQ(found.result, ReadResult::whole);
    EXPECT_EQ(found.index, 1);
    EXPECT_EQ(file_->find_piece("412").result, ReadResult::end);
    EXPECT_EQ(file_->find_piece("0413").index, 4);
}

TEST_F(ParamFileTest, ParishWalkStopsAtAnotherPieceAndAtTheEnd)
{
    load(standard());
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
    load(standard());
    std::string expected = standard();

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

}  // namespace
}  // namespace quillet
