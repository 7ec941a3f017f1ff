#include "graphs/WindowsVersion.h"

#include <win32/module.h>
#include <win32/thread.h>
#include <win32/version.h>

namespace {

int Windows9xCode(DWORD major, DWORD minor) {
  if (major != 4) return 9;
  switch (minor) {
    case 0:
      return 8;
    case 10:
      return 6;
    case 90:
      return 7;
    default:
      return 9;
  }
}

int WindowsNtCode(DWORD major, DWORD minor) {
  if (major < 5) return 5;
  if (major == 5) {
    switch (minor) {
      case 0:
        return 1;
      case 1:
        return 2;
      case 2:
        return 3;
      default:
        return 4;
    }
  }
  if (major == 6 && minor == 0) return IsWow64() ? 10 : 11;
  return 4;
}

}  // namespace

int GetWindowsVersionCode() {
  // The extended record first; systems before NT 4 SP6 know only the plain one.
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
  if (!GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info))) {
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info))) return 9;
  }
  switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
      return Windows9xCode(info.dwMajorVersion, info.dwMinorVersion);
    case VER_PLATFORM_WIN32_NT:
      return WindowsNtCode(info.dwMajorVersion, info.dwMinorVersion);
    default:
      return 9;
  }
}

BOOL IsWow64() {
  using IsWow64ProcessFn = BOOL (*)(HANDLE, PBOOL);
  auto isWow64Process =
      reinterpret_cast<IsWow64ProcessFn>(GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process"));
  if (!isWow64Process) return FALSE;
  BOOL wow64 = FALSE;
  return isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}
