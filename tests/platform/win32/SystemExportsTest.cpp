// The built-in system modules: found by name with or without ".dll", never unloaded,
// and resolving exactly the functions the platform registered.
#include <support/TestMachine.h>

#include <win32/error.h>
#include <win32/file.h>
#include <win32/module.h>
#include <win32/module/SystemExports.h>
#include <win32/version.h>

#include <cstring>

namespace {

using SystemExportsTest = test::MachineTest;

int probeExport() { return 7; }

TEST_F(SystemExportsTest, KernelFunctionsLookedUpAtRunTime) {
  HMODULE kernel = GetModuleHandleA("kernel32");
  ASSERT_NE(kernel, nullptr);
  EXPECT_EQ(LoadLibraryA("KERNEL32.DLL"), kernel);

  using IsWow64 = BOOL (*)(HANDLE, PBOOL);
  auto isWow64 = reinterpret_cast<IsWow64>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "IsWow64Process")));
  ASSERT_NE(isWow64, nullptr);
  machine().ini().setValue("Windows", "Wow64", "1");
  BOOL wow64 = FALSE;
  EXPECT_TRUE(isWow64(reinterpret_cast<HANDLE>(-1), &wow64));
  EXPECT_TRUE(wow64);
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")),
            reinterpret_cast<void*>(&GetDiskFreeSpaceExA));

  EXPECT_EQ(GetProcAddress(kernel, "NoSuchFunction"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(kernel));
  EXPECT_EQ(GetModuleHandleA("kernel32.dll"), kernel);

  char name[MAX_PATH];
  GetModuleFileNameA(kernel, name, MAX_PATH);
  EXPECT_STREQ(name, "C:\\WINDOWS\\system32\\kernel32.dll");
}

TEST_F(SystemExportsTest, OtherAreasRegisterTheirOwn) {
  HMODULE user = LoadLibraryA("user32.dll");
  ASSERT_NE(user, nullptr);
  EXPECT_NE(user, GetModuleHandleA("kernel32"));
  EXPECT_EQ(GetProcAddress(user, "ProbeExport"), nullptr);
  plat::SystemExports::add("USER32.dll", "ProbeExport", reinterpret_cast<void*>(&probeExport));
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(user, "ProbeExport")), reinterpret_cast<void*>(&probeExport));
  EXPECT_EQ(GetProcAddress(user, "probeexport"), nullptr);

  // A module first named by a registration becomes built in.
  EXPECT_EQ(LoadLibraryA("probehelp.ocx"), nullptr);
  plat::SystemExports::add("probehelp.ocx", "ProbeExport", reinterpret_cast<void*>(&probeExport));
  HMODULE help = LoadLibraryA("ProbeHelp.ocx");
  ASSERT_NE(help, nullptr);
  EXPECT_NE(GetProcAddress(help, "ProbeExport"), nullptr);
  // A path is never a built-in module.
  EXPECT_EQ(LoadLibraryA("Filter\\user32.dll"), nullptr);
}

}  // namespace
