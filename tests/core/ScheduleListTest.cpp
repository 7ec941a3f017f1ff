// The schedule file as start-up loads it: whole records in file order, a trailing partial
// record ignored, a missing file leaving the list as it was.
#include "CoreTest.h"

#include "core/CScheduleList.h"

namespace {

using test::Bytes;
using test::putInt;

class ScheduleListTest : public test::CoreTest {
 protected:
  std::string path() { return programPath("schedulefile.she"); }
};

TEST_F(ScheduleListTest, LoadsEveryWholeRecordInFileOrder) {
  Bytes bytes(2 * 36 + 20, 0);
  for (int i = 0; i < 9; ++i) {
    putInt(bytes, 4 * i, 100 + i);
    putInt(bytes, 36 + 4 * i, 200 + i);
  }
  writeBytes(path(), bytes);
  CScheduleList list;
  ASSERT_EQ(list.Load(path().c_str()), 1);
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetAt(0)->start, 100);
  EXPECT_EQ(list.GetAt(0)->flag, 108);
  EXPECT_EQ(list.GetAt(1)->recurrence, 202);
  EXPECT_EQ(list.GetAt(1)->action, 207);
  EXPECT_EQ(list.GetAt(2), nullptr);
  EXPECT_EQ(list.GetAt(-1), nullptr);
}

TEST_F(ScheduleListTest, AMissingFileFailsAndKeepsTheItems) {
  writeBytes(path(), Bytes(36, 1));
  CScheduleList list;
  ASSERT_EQ(list.Load(path().c_str()), 1);
  EXPECT_EQ(list.Load(programPath("other.she").c_str()), 0);
  EXPECT_EQ(list.Load(nullptr), 0);
  EXPECT_EQ(list.GetCount(), 1);

  writeBytes(path(), Bytes());
  ASSERT_EQ(list.Load(path().c_str()), 1);
  EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
