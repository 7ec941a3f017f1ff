// The Windows version as machine.ini sets it, in both record sizes.
#include <support/TestMachine.h>

#include <win32/error.h>
#include <win32/version.h>

#include <cstring>

namespace {

using VersionTest = test::MachineTest;

TEST_F(VersionTest, BothRecordSizesOfTheDefaultPc) {
  OSVERSIONINFOEXA info;
  std::memset(&info, 0xCC, sizeof info);
  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  ASSERT_TRUE(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info)));
  EXPECT_EQ(info.dwMajorVersion, 5u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(info.dwBuildNumber, 2600u);
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_STREQ(info.szCSDVersion, "Service Pack 3");
  EXPECT_EQ(info.wServicePackMajor, 0xCCCCu);  // beyond the short record: untouched

  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
  ASSERT_TRUE(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info)));
  EXPECT_EQ(info.wServicePackMajor, 3u);
  EXPECT_EQ(info.wServicePackMinor, 0u);
  EXPECT_EQ(info.wProductType, VER_NT_WORKSTATION);
  EXPECT_EQ(info.dwOSVersionInfoSize, sizeof(OSVERSIONINFOEXA));
}

TEST_F(VersionTest, OtherSizesAreRefused) {
  OSVERSIONINFOEXA info{};
  for (DWORD size : {0u, 147u, 152u, 157u, 276u}) {
    info.dwOSVersionInfoSize = size;
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info))) << size;
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER)) << size;
  }
  EXPECT_EQ(info.dwMajorVersion, 0u);
}

TEST_F(VersionTest, TestsChooseTheVersion) {
  machine().ini().setValue("Windows", "MajorVersion", "6");
  machine().ini().setValue("Windows", "MinorVersion", "0");
  machine().ini().setValue("Windows", "BuildNumber", "6002");
  machine().ini().setValue("Windows", "CSDVersion", "");
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwMajorVersion, 6u);
  EXPECT_EQ(info.dwMinorVersion, 0u);
  EXPECT_EQ(info.dwBuildNumber, 6002u);
  EXPECT_STREQ(info.szCSDVersion, "");

  BOOL wow64 = TRUE;
  EXPECT_TRUE(IsWow64Process(reinterpret_cast<HANDLE>(-1), &wow64));
  EXPECT_FALSE(wow64);
  machine().ini().setValue("Windows", "Wow64", "1");
  EXPECT_TRUE(IsWow64Process(reinterpret_cast<HANDLE>(-1), &wow64));
  EXPECT_TRUE(wow64);
  EXPECT_FALSE(IsWow64Process(nullptr, &wow64));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

}  // namespace
