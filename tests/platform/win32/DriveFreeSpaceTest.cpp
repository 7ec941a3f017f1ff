// A drive's free space given by machine.ini stands for the real file system's.
#include <support/TestMachine.h>

#include <win32/file.h>

namespace {

class DriveFreeSpaceTest : public test::MachineTest {};

TEST_F(DriveFreeSpaceTest, MachineIniGivesTheFreeBytesOfItsDriveOnly) {
  machine().ini().setValue("DriveFreeSpace", "C", "104857599");
  ULARGE_INTEGER available{}, total{}, free{};
  ASSERT_TRUE(GetDiskFreeSpaceExA("c:\\Temp", &available, &total, &free));
  EXPECT_EQ(available.QuadPart, 104857599u);
  EXPECT_EQ(free.QuadPart, 104857599u);
  EXPECT_GT(total.QuadPart, 0u) << "the size stays the real one";

  machine().ini().setValue("DriveFreeSpace", "D", "5");
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", nullptr, nullptr, &free));
  EXPECT_EQ(free.QuadPart, 104857599u);
  EXPECT_FALSE(GetDiskFreeSpaceExA("C:\\Missing\\", nullptr, nullptr, &free)) << "a missing folder still fails";
}

}  // namespace
