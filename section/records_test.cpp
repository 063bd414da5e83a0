// Reinforcement records: kinds by name, the two layouts, the unit switch, filler records and
// the edges of a file.
#include "records.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/codepage.h"
#include "testing.h"

namespace section {
namespace {

TEST(RecordKind, ComesFromTheNameEnding) {
  struct Case {
    const wchar_t* name;
    Kind kind;
  } cases[] = {
      {L"beams.sbm", Kind::Slab}, {L"C:\\data\\B.SBM", Kind::Slab}, {L"x.Sbm", Kind::Slab},
      {L"data.scl", Kind::Member}, {L"DATA.SCL", Kind::Member},     {L"data.txt", Kind::None},
      {L"sbm.txt", Kind::None},   {L"", Kind::None},                {L"SCL", Kind::Member},
  };
  for (const Case& c : cases) EXPECT_EQ(kindOfName(c.name), c.kind) << plat::utf8(c.name);
}

Record slabRecord(int first) {
  Record r{L"B1", std::vector<int>(47, 0)};
  r.values[0] = first;
  r.values[46] = -32768;
  r.values[45] = 32767;
  return r;
}

TEST(RecordCodec, SlabValuesAreBigEndianWithOffset) {
  auto bytes = encodeRecord(Kind::Slab, slabRecord(155), false);
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), 104u);
  EXPECT_EQ((*bytes)[0], 'B');
  EXPECT_EQ((*bytes)[1], '1');
  EXPECT_EQ((*bytes)[2], 0);
  EXPECT_EQ((*bytes)[10], 0x80);  // 155 + 0x8000 = 0x809B
  EXPECT_EQ((*bytes)[11], 0x9B);
  EXPECT_EQ((*bytes)[102], 0x00);  // -32768 is stored as 0
  EXPECT_EQ((*bytes)[103], 0x00);
  Record back = decodeRecord(Kind::Slab, *bytes, false);
  EXPECT_EQ(back.name, L"B1");
  EXPECT_EQ(back.values, slabRecord(155).values);
}

TEST(RecordCodec, UnitSwitchKeepsTenthsOfTheScaledValues) {
  Record r = slabRecord(155);
  r.values[5] = 155;  // not a scaled value
  auto bytes = encodeRecord(Kind::Slab, r, true);
  ASSERT_TRUE(bytes);
  EXPECT_EQ((*bytes)[11], 15);  // 155 / 10
  Record back = decodeRecord(Kind::Slab, *bytes, true);
  EXPECT_EQ(back.values[0], 150);
  EXPECT_EQ(back.values[5], 155);
  r.values[0] = -155;  // division truncates towards zero
  EXPECT_EQ(decodeRecord(Kind::Slab, *encodeRecord(Kind::Slab, r, true), true).values[0], -150);
}

TEST(RecordCodec, MemberRecordsMixTwoAndOneByteValues) {
  Record r{L"C1", std::vector<int>(35, 0)};
  r.values[0] = 300;
  r.values[2] = -128;
  r.values[34] = 127;
  auto bytes = encodeRecord(Kind::Member, r, false);
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), 47u);
  EXPECT_EQ((*bytes)[14], 0);  // -128 + 128
  EXPECT_EQ((*bytes)[46], 255);
  EXPECT_EQ(decodeRecord(Kind::Member, *bytes, false).values, r.values);
}

TEST(RecordCodec, ValuesThatDoNotFitTheirFieldAreRefused) {
  Record r{L"C1", std::vector<int>(35, 0)};
  r.values[2] = 128;  // a one-byte field
  EXPECT_FALSE(encodeRecord(Kind::Member, r, false));
  r.values[2] = 0;
  r.values[0] = 40000;
  EXPECT_FALSE(encodeRecord(Kind::Member, r, false));
  EXPECT_FALSE(encodeRecord(Kind::Slab, Record{L"x", std::vector<int>(10, 0)}, false));
}

TEST(RecordCodec, FillerRecordsReadAsZeroAndMinus128) {
  Record slab = decodeRecord(Kind::Slab, fillerRecord(Kind::Slab), false);
  EXPECT_EQ(slab.name, L"");
  EXPECT_EQ(slab.values, std::vector<int>(47, 0));
  Record member = decodeRecord(Kind::Member, fillerRecord(Kind::Member), false);
  EXPECT_EQ(member.values[0], 0);
  EXPECT_EQ(member.values[1], 0);
  EXPECT_EQ(member.values[2], -128);
  EXPECT_EQ(member.values[34], -128);
}

TEST(RecordCodec, NamesKeepTheLowByteOfEachCharacter) {
  Record r{L"ABCDEFGHIJ", std::vector<int>(47, 0)};
  auto bytes = encodeRecord(Kind::Slab, r, false);
  EXPECT_EQ(decodeRecord(Kind::Slab, *bytes, false).name, L"ABCDEFGHIJ");
  r.name = L"\u0141x";  // U+0141 keeps 0x41
  EXPECT_EQ(decodeRecord(Kind::Slab, *encodeRecord(Kind::Slab, r, false), false).name, L"Ax");
}

class RecordFileTest : public ::testing::Test {
 protected:
  kctest::TempMachine machine{false};
  std::uintmax_t sizeOf(const char* name) { return std::filesystem::file_size(machine.driveC() / name); }
};

TEST_F(RecordFileTest, WritingBeyondTheEndAppendsFillerRecords) {
  auto file = RecordFile::open(L"C:\\beams.sbm", Kind::Slab);
  ASSERT_TRUE(file);
  EXPECT_EQ(sizeOf("beams.sbm"), 0u);
  ASSERT_TRUE(file->write(3, slabRecord(7), false));
  EXPECT_EQ(sizeOf("beams.sbm"), 416u);
  EXPECT_EQ(file->read(1, false)->values, std::vector<int>(47, 0));
  EXPECT_EQ(file->read(3, false)->values[0], 7);
  EXPECT_FALSE(file->read(4, false));
  EXPECT_FALSE(file->read(-1, false));
  EXPECT_FALSE(file->write(-1, slabRecord(7), false));
}

TEST_F(RecordFileTest, AFileShorterThanARecordStillReadsItsFirstRecord) {
  std::ofstream(machine.driveC() / "short.sbm", std::ios::binary) << "AB";
  auto file = RecordFile::open(L"C:\\SHORT.SBM", Kind::Slab);
  ASSERT_TRUE(file);
  auto record = file->read(0, false);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->name, L"AB");
  EXPECT_FALSE(file->read(1, false));
}

TEST_F(RecordFileTest, AFileInAMissingFolderCannotBeOpened) {
  EXPECT_FALSE(RecordFile::open(L"C:\\missing\\beams.sbm", Kind::Slab));
}

}  // namespace
}  // namespace section
