#include <win32/version.h>

#include <machine/Machine.h>
#include <win32/error.h>
#include <win32/module/SystemExports.h>

#include <cctype>
#include <charconv>
#include <cstring>
#include <string>

namespace {

// Programs look this up at run time, since Windows before XP SP2 lacks it.
[[maybe_unused]] const bool kExported =
    (plat::SystemExports::add("kernel32", "IsWow64Process", reinterpret_cast<void*>(&IsWow64Process)), true);

const plat::IniDocument& ini() { return plat::Machine::current().ini(); }

DWORD windowsValue(const char* key, int fallback) {
  return static_cast<DWORD>(ini().intValue("Windows", key, fallback));
}

// "Service Pack 3" → 3; 0 without a number.
WORD servicePackOf(const std::string& text) {
  std::size_t end = text.size();
  while (end > 0 && !std::isdigit(static_cast<unsigned char>(text[end - 1]))) --end;
  std::size_t start = end;
  while (start > 0 && std::isdigit(static_cast<unsigned char>(text[start - 1]))) --start;
  WORD number = 0;
  std::from_chars(text.data() + start, text.data() + end, number);
  return number;
}

}  // namespace

BOOL GetVersionExA(LPOSVERSIONINFOA lpVersionInformation) {
  if (!lpVersionInformation) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD size = lpVersionInformation->dwOSVersionInfoSize;
  if (size != sizeof(OSVERSIONINFOA) && size != sizeof(OSVERSIONINFOEXA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  // Filled as the larger record and copied out at the caller's size: the caller's object
  // may be either record.
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = size;
  info.dwMajorVersion = windowsValue("MajorVersion", 5);
  info.dwMinorVersion = windowsValue("MinorVersion", 1);
  info.dwBuildNumber = windowsValue("BuildNumber", 2600);
  info.dwPlatformId = windowsValue("PlatformId", VER_PLATFORM_WIN32_NT);
  const std::string servicePack = ini().valueOr("Windows", "CSDVersion", "");
  servicePack.copy(info.szCSDVersion, sizeof info.szCSDVersion - 1);
  info.wServicePackMajor = servicePackOf(servicePack);
  info.wProductType = VER_NT_WORKSTATION;
  std::memcpy(lpVersionInformation, &info, size);
  return TRUE;
}

BOOL IsWow64Process(HANDLE hProcess, PBOOL Wow64Process) {
  if (!hProcess) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!Wow64Process) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *Wow64Process = ini().intValue("Windows", "Wow64", 0) != 0 ? TRUE : FALSE;
  return TRUE;
}
