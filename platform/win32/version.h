// The Windows version of the simulated PC, from machine.ini [Windows]: MajorVersion,
// MinorVersion, BuildNumber, PlatformId, CSDVersion (the service pack text, whose number
// is also the service-pack major) and Wow64 (a 32-bit program on 64-bit Windows). A test
// chooses the version by changing those values; every call reads them afresh.
#pragma once

#include <win32/types.h>

#define VER_PLATFORM_WIN32s 0u
#define VER_PLATFORM_WIN32_WINDOWS 1u
#define VER_PLATFORM_WIN32_NT 2u

#define VER_NT_WORKSTATION 1u

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
};
using POSVERSIONINFOA = OSVERSIONINFOA*;
using LPOSVERSIONINFOA = OSVERSIONINFOA*;
using OSVERSIONINFO = OSVERSIONINFOA;
using LPOSVERSIONINFO = OSVERSIONINFOA*;
static_assert(sizeof(OSVERSIONINFOA) == 148);

struct OSVERSIONINFOEXA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};
using POSVERSIONINFOEXA = OSVERSIONINFOEXA*;
using LPOSVERSIONINFOEXA = OSVERSIONINFOEXA*;
using OSVERSIONINFOEX = OSVERSIONINFOEXA;
static_assert(sizeof(OSVERSIONINFOEXA) == 156);

// dwOSVersionInfoSize chooses the record (148 or 156 bytes); any other size fails with
// ERROR_INSUFFICIENT_BUFFER. A product type is always a workstation.
BOOL GetVersionExA(LPOSVERSIONINFOA lpVersionInformation);
// Also reachable as GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process").
BOOL IsWow64Process(HANDLE hProcess, PBOOL Wow64Process);

#define GetVersionEx GetVersionExA
