// Drives, the temp folder, free space and the current directory, as machine.ini lays
// the PC out, with Windows' buffer-size answers.
#include <support/TestMachine.h>

#include <win32/error.h>
#include <win32/file.h>
#include <win32/handleapi.h>

#include <sys/statvfs.h>

#include <cstring>
#include <string>

namespace {

namespace fs = std::filesystem;

class DriveTest : public test::MachineTest {
 protected:
  ~DriveTest() override { fs::current_path(m_savedDirectory); }

  static std::string currentDirectory() {
    char buffer[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return std::string(buffer, length);
  }

 private:
  fs::path m_savedDirectory = fs::current_path();
};

TEST_F(DriveTest, TempPathAndDriveListsFollowTheBufferRules) {
  char buffer[64];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetTempPathA(8, buffer), 9u);  // too small: the size needed, buffer untouched
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(GetTempPathA(0, nullptr), 9u);
  EXPECT_EQ(GetTempPathA(9, buffer), 8u);
  EXPECT_STREQ(buffer, "C:\\Temp\\");

  EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 25));
  EXPECT_EQ(GetLogicalDriveStringsA(8, buffer), 9u);
  EXPECT_EQ(GetLogicalDriveStringsA(sizeof buffer, buffer), 8u);
  EXPECT_EQ(std::string(buffer, 9), std::string("C:\\\0Z:\\\0\0", 9));
}

TEST_F(DriveTest, DriveTypesComeFromMachineIni) {
  EXPECT_EQ(GetDriveTypeA("C:\\"), DRIVE_FIXED);
  EXPECT_EQ(GetDriveTypeA("c:"), DRIVE_FIXED);
  EXPECT_EQ(GetDriveTypeA("C:\\Temp\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveTypeA("D:\\"), DRIVE_NO_ROOT_DIR);

  const fs::path disc = testMachine.root() / "disc";
  fs::create_directories(disc);
  machine().paths().mapDrive('D', disc);
  machine().ini().setValue("DriveTypes", "D", "cdrom");
  machine().ini().setValue("DriveTypes", "Z", "remote");
  EXPECT_EQ(GetDriveTypeA("D:\\"), DRIVE_CDROM);
  EXPECT_EQ(GetDriveTypeA("Z:\\"), DRIVE_REMOTE);
  machine().ini().setValue("DriveTypes", "D", "floppy-ish");
  EXPECT_EQ(GetDriveTypeA("D:\\"), DRIVE_UNKNOWN);
}

TEST_F(DriveTest, FreeSpaceIsTheRealFileSystems) {
  ULARGE_INTEGER available{}, total{}, free{};
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
  struct statvfs real {};
  ASSERT_EQ(::statvfs(machine().paths().driveFolder('C').c_str(), &real), 0);
  EXPECT_EQ(total.QuadPart, ULONGLONG(real.f_blocks) * real.f_frsize);
  EXPECT_GT(total.QuadPart, 0u);
  EXPECT_LE(available.QuadPart, free.QuadPart);
  EXPECT_LE(free.QuadPart, total.QuadPart);
  EXPECT_TRUE(GetDiskFreeSpaceExA("C:\\Temp", nullptr, nullptr, &free));

  EXPECT_FALSE(GetDiskFreeSpaceExA("C:\\Missing\\", &available, &total, &free));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(GetDiskFreeSpaceExA("Q:\\", &available, &total, &free));
}

TEST_F(DriveTest, CurrentDirectoryAnchorsRelativePaths) {
  EXPECT_TRUE(SetCurrentDirectoryA("c:\\temp"));
  EXPECT_EQ(currentDirectory(), "C:\\Temp");
  EXPECT_EQ(fs::current_path(), machine().paths().driveFolder('C') / "Temp");
  char small[4];
  EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), 8u);

  HANDLE file = CreateFileA("here.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_TRUE(fs::exists(machine().paths().driveFolder('C') / "Temp" / "here.txt"));
  EXPECT_EQ(GetFileAttributesA("..\\Temp\\HERE.TXT"), FILE_ATTRIBUTE_ARCHIVE);

  EXPECT_FALSE(SetCurrentDirectoryA("C:\\Missing"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(SetCurrentDirectoryA("C:\\Temp\\here.txt"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_DIRECTORY));
  EXPECT_EQ(currentDirectory(), "C:\\Temp");
}

TEST_F(DriveTest, FullPathNamesResolveDotsWithoutTheDisk) {
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\Temp"));
  char buffer[MAX_PATH];
  LPSTR filePart = nullptr;
  const auto full = [&](const char* name) {
    const DWORD length = GetFullPathNameA(name, MAX_PATH, buffer, &filePart);
    return std::string(buffer, length);
  };
  EXPECT_EQ(full("a\\..\\b.txt"), "C:\\Temp\\b.txt");
  EXPECT_STREQ(filePart, "b.txt");
  EXPECT_EQ(full("C:\\x\\.\\y\\"), "C:\\x\\y\\");
  EXPECT_EQ(filePart, nullptr);
  EXPECT_EQ(full("\\Videos\\..\\..\\clip.mpg"), "C:\\clip.mpg");
  EXPECT_EQ(full("C:sub"), "C:\\Temp\\sub");  // relative to the drive's current directory
  EXPECT_EQ(full("D:sub"), "D:\\sub");
  EXPECT_EQ(GetFullPathNameA("b.txt", 5, buffer, &filePart), 14u);  // "C:\\Temp\\b.txt" and its NUL
}

}  // namespace
