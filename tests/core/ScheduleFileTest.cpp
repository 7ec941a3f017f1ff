// "schedulefile.she" byte for byte: records in list order, nine little-endian integers each,
// no header; a save that cannot finish leaves the old file whole, and a load that cannot
// read leaves the items whole.
#include "ScheduleTest.h"
#include "support/FileSizeLimit.h"

namespace {

using test::Bytes;
using test::putInt;

class ScheduleFileTest : public test::ScheduleTest {
 protected:
  std::string path() { return programPath("schedulefile.she"); }

  // Two records as another program would write them, field by field.
  static Bytes handBuiltFile() {
    const std::int32_t fields[2][9] = {{1709283600, 3600, 8, 12, 34, 1, 1, 2, 0},
                                       {-5, 90, 7, 3, 0, 2, 0, 3, 1}};
    Bytes bytes(72, 0);
    for (int record = 0; record < 2; ++record) {
      for (int field = 0; field < 9; ++field) putInt(bytes, record * 36 + field * 4, fields[record][field]);
    }
    return bytes;
  }
};

TEST_F(ScheduleFileTest, ALoadedFileIsSavedByteForByte) {
  writeBytes(path(), handBuiltFile());
  CScheduleList list;
  ASSERT_EQ(list.Load(path().c_str()), 1);
  ASSERT_EQ(list.GetCount(), 2);
  const CScheduleItem& first = *list.GetAt(0);
  EXPECT_EQ(first.start, 1709283600);
  EXPECT_EQ(first.duration, 3600);
  EXPECT_EQ(first.recurrence, 8);
  EXPECT_EQ(first.channel1, 12);
  EXPECT_EQ(first.channel2, 34);
  EXPECT_EQ(first.source, 1);
  EXPECT_EQ(first.mode, 1);
  EXPECT_EQ(first.action, 2);
  EXPECT_EQ(list.GetAt(1)->start, -5);
  EXPECT_EQ(list.GetAt(1)->flag, 1);

  const std::string copy = programPath("copy.she");
  ASSERT_EQ(list.Save(copy.c_str()), 1);
  EXPECT_EQ(readBytes(copy), handBuiltFile());
  EXPECT_FALSE(exists(copy + ".new"));
}

TEST_F(ScheduleFileTest, ItemsAreWrittenInListOrder) {
  CScheduleList list;
  CScheduleItem a = item(100, 10, 1);
  CScheduleItem b = item(200, 20, 2);
  b.channel2 = 0x01020304;
  ASSERT_EQ(list.Add(&a), 1);
  ASSERT_EQ(list.InsertAt(0, &b), 1);
  ASSERT_EQ(list.Save(path().c_str()), 1);
  const Bytes bytes = readBytes(path());
  ASSERT_EQ(bytes.size(), 72u);
  EXPECT_EQ(test::intAt(bytes, 0), 200);
  EXPECT_EQ(bytes[16], 0x04);  // little-endian
  EXPECT_EQ(bytes[19], 0x01);
  EXPECT_EQ(test::intAt(bytes, 36), 100);
  EXPECT_EQ(test::intAt(bytes, 44), 1);
}

TEST_F(ScheduleFileTest, AnEmptyListSavesAnEmptyFileOverAnOldOne) {
  writeBytes(path(), handBuiltFile());
  CScheduleList list;
  ASSERT_EQ(list.Save(path().c_str()), 1);
  EXPECT_TRUE(exists(path()));
  EXPECT_TRUE(readBytes(path()).empty());
}

// Every whole record is kept: a part of a record at the end is left out, and fields no
// program writes load as they stand (the rules pass over values they do not know). The
// file on disk is not touched.
TEST_F(ScheduleFileTest, WholeRecordsLoadAsTheyStandAndAPartRecordAtTheEndIsLeftOut) {
  CScheduleList list;
  for (const auto& [size, count] : std::vector<std::pair<std::size_t, int>>{
           {0, 0}, {1, 0}, {35, 0}, {36, 1}, {37, 1}, {71, 1}, {72, 2}}) {
    Bytes cut = handBuiltFile();
    cut.resize(size);
    writeBytes(path(), cut);
    ASSERT_EQ(list.Load(path().c_str()), 1) << size << " bytes";
    EXPECT_EQ(list.GetCount(), count) << size << " bytes";
    EXPECT_EQ(readBytes(path()), cut);
  }
  EXPECT_EQ(list.GetAt(1)->start, -5);

  for (const auto& [offset, value] : std::vector<std::pair<int, std::int32_t>>{
           {4, -1}, {8, 9}, {8, -1}, {20, 4}, {24, 2}, {28, 4}, {36 + 28, -1}}) {
    Bytes foreign = handBuiltFile();
    putInt(foreign, offset, value);
    writeBytes(path(), foreign);
    ASSERT_EQ(list.Load(path().c_str()), 1);
    ASSERT_EQ(list.GetCount(), 2);
    ASSERT_EQ(list.Save(programPath("copy.she").c_str()), 1);
    EXPECT_EQ(readBytes(programPath("copy.she")), foreign) << "field at " << offset;
  }
  writeBytes(path(), Bytes(72, 0xFF));
  ASSERT_EQ(list.Load(path().c_str()), 1);
  EXPECT_EQ(list.GetAt(0)->recurrence, -1);
}

TEST_F(ScheduleFileTest, AFileThatCannotBeReadLeavesTheItems) {
  writeBytes(path(), handBuiltFile());
  CScheduleList list;
  ASSERT_EQ(list.Load(path().c_str()), 1);
  std::filesystem::create_directory(linuxPath(programPath("folder.she")));
  EXPECT_EQ(list.Load(programPath("folder.she").c_str()), 0);
  EXPECT_EQ(list.Load(programPath("missing.she").c_str()), 0);
  EXPECT_EQ(list.Load(nullptr), 0);
  EXPECT_EQ(list.GetCount(), 2);
}

TEST_F(ScheduleFileTest, ASaveThatCannotFinishKeepsTheOldFile) {
  writeBytes(path(), handBuiltFile());
  CScheduleList list;
  CScheduleItem one = item(1, 2, 3);
  list.Add(&one);
  {
    test::FileSizeLimit diskFull(10);  // the new file cannot be written whole
    EXPECT_EQ(list.Save(path().c_str()), 0);
  }
  EXPECT_EQ(readBytes(path()), handBuiltFile());

  EXPECT_EQ(list.Save(nullptr), 0);
  EXPECT_EQ(list.Save(programPath("no folder\\schedulefile.she").c_str()), 0);
}

}  // namespace
