// The Windows folder and the system folder on drive C:, made when a program first asks
// for them, with Windows' buffer-size answers.
#include <support/TestMachine.h>

#include <win32/file.h>

#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

using WindowsFolderTest = test::MachineTest;

TEST_F(WindowsFolderTest, TheWindowsFolderIsMadeOnDriveC) {
  const fs::path folder = machine().paths().driveFolder('C') / "WINDOWS";
  fs::remove_all(folder);
  char buffer[MAX_PATH];
  EXPECT_EQ(GetWindowsDirectoryA(buffer, MAX_PATH), 10u);
  EXPECT_STREQ(buffer, "C:\\WINDOWS");
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(GetSystemDirectoryA(buffer, MAX_PATH), 19u);
  EXPECT_STREQ(buffer, "C:\\WINDOWS\\system32");
  EXPECT_TRUE(fs::is_directory(folder / "system32"));
}

TEST_F(WindowsFolderTest, ASmallBufferGetsTheSizeNeededAndStaysUntouched) {
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetWindowsDirectoryA(buffer, 10), 11u);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(GetWindowsDirectoryA(nullptr, 0), 11u);
  EXPECT_EQ(GetWindowsDirectoryA(buffer, 11), 10u);
}

}  // namespace
