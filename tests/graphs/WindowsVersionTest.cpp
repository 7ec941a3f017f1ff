// The Windows version code from machine.ini's [Windows] version, and the WOW64 test.
#include <support/MachineWindows.h>
#include <support/TestMachine.h>

#include "graphs/WindowsVersion.h"

#include <win32/version.h>

#include <gtest/gtest.h>

#include <string>

namespace test {

namespace {

class WindowsVersionTest : public MachineTest {
 protected:
  int codeFor(int platform, int major, int minor, bool wow64 = false) {
    SetWindowsVersion(machine(), platform, major, minor);
    machine().ini().setValue("Windows", "Wow64", wow64 ? "1" : "0");
    return GetWindowsVersionCode();
  }
};

constexpr int kNt = VER_PLATFORM_WIN32_NT;
constexpr int k9x = VER_PLATFORM_WIN32_WINDOWS;

}  // namespace

TEST_F(WindowsVersionTest, NtVersionsByMajorAndMinor) {
  EXPECT_EQ(codeFor(kNt, 5, 0), 1);
  EXPECT_EQ(codeFor(kNt, 5, 1), 2);
  EXPECT_EQ(codeFor(kNt, 5, 2), 3);
  EXPECT_EQ(codeFor(kNt, 5, 3), 4);
  EXPECT_EQ(codeFor(kNt, 6, 1), 4);
  EXPECT_EQ(codeFor(kNt, 10, 0), 4);
  EXPECT_EQ(codeFor(kNt, 4, 0), 5);
  EXPECT_EQ(codeFor(kNt, 3, 51), 5);
}

TEST_F(WindowsVersionTest, NtSixZeroTellsAThirtyTwoBitProcessOnSixtyFourBitWindows) {
  EXPECT_EQ(codeFor(kNt, 6, 0, false), 11);
  EXPECT_FALSE(IsWow64());
  EXPECT_EQ(codeFor(kNt, 6, 0, true), 10);
  EXPECT_TRUE(IsWow64());
  // Only 6.0 asks.
  EXPECT_EQ(codeFor(kNt, 6, 1, true), 4);
  EXPECT_EQ(codeFor(kNt, 5, 1, true), 2);
}

TEST_F(WindowsVersionTest, Windows9xVersionsAndEverythingElse) {
  EXPECT_EQ(codeFor(k9x, 4, 0), 8);
  EXPECT_EQ(codeFor(k9x, 4, 10), 6);
  EXPECT_EQ(codeFor(k9x, 4, 90), 7);
  EXPECT_EQ(codeFor(k9x, 4, 3), 9);
  EXPECT_EQ(codeFor(k9x, 5, 0), 9);
  EXPECT_EQ(codeFor(VER_PLATFORM_WIN32s, 3, 1), 9);
  EXPECT_EQ(codeFor(7, 5, 1), 9);
}

TEST_F(WindowsVersionTest, TheDefaultMachineIsXp) {
  machine().ini().removeSection("Windows");
  EXPECT_EQ(GetWindowsVersionCode(), 2);
}

}  // namespace test
