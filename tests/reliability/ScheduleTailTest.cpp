// The main program's start-up plans every whole record of a schedule file whose end was
// cut inside a record: the part record is left out, nothing else is lost.
#include "CoreTest.h"

#include "core/CScheduleList.h"

#include <mfc/CTime.h>

namespace {

constexpr int kOnce = 8;

class ScheduleTailTest : public test::ControllerTest {
 protected:
  void writeCutSchedule(std::size_t size) {
    test::Bytes bytes(72, 0);
    test::putInt(bytes, 0, static_cast<std::int32_t>(noon + 60));
    test::putInt(bytes, 4, 600);
    test::putInt(bytes, 8, kOnce);
    test::putInt(bytes, 36, static_cast<std::int32_t>(noon + 3 * 3600));
    test::putInt(bytes, 36 + 8, kOnce);
    bytes.resize(size);
    writeBytes(programPath("schedulefile.she"), bytes);
  }
  const time_t noon = test::kStartUnixMs / 1000;
};

TEST_F(ScheduleTailTest, StartUpKeepsTheWholeRecordsBeforeACutAndFindsThemDue) {
  for (const std::size_t size : {37u, 71u}) {
    writeCutSchedule(size);
    ASSERT_EQ(startUp(), 1);
    CScheduleList* list = controller->GetScheduleList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetCount(), 1) << size << " bytes";
    EXPECT_NE(list->FindDueItemAt(noon + 60), nullptr);
    EXPECT_EQ(readBytes(programPath("schedulefile.she")).size(), size) << "the file is left as it is";
    deleteController();
  }
}

}  // namespace
