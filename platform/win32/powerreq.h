// What a program asks of the PC's power: keeping it awake, standing by, shutting down,
// and the shut-down privilege it needs for the last two. Nothing is done: each request is
// written to the machine's power.log ("category<TAB>text"), where tests and people read
// it. Process-wide; the privilege is the process token's, as on Windows.
#pragma once

#include <win32/thread.h>
#include <win32/types.h>

#define ES_SYSTEM_REQUIRED 0x00000001
#define ES_DISPLAY_REQUIRED 0x00000002
#define ES_CONTINUOUS 0x80000000

#define EWX_LOGOFF 0x00000000
#define EWX_SHUTDOWN 0x00000001
#define EWX_REBOOT 0x00000002
#define EWX_FORCE 0x00000004
#define EWX_POWEROFF 0x00000008

#define TOKEN_ADJUST_PRIVILEGES 0x0020
#define TOKEN_QUERY 0x0008
#define SE_PRIVILEGE_ENABLED 0x00000002
#define SE_SHUTDOWN_NAME "SeShutdownPrivilege"
#define ERROR_PRIVILEGE_NOT_HELD 1314L
#define ERROR_NO_SUCH_PRIVILEGE 1313L

struct LUID {
  DWORD LowPart;
  LONG HighPart;
};
struct LUID_AND_ATTRIBUTES {
  LUID Luid;
  DWORD Attributes;
};
struct TOKEN_PRIVILEGES {
  DWORD PrivilegeCount;
  LUID_AND_ATTRIBUTES Privileges[1];
};
using PTOKEN_PRIVILEGES = TOKEN_PRIVILEGES*;
using EXECUTION_STATE = DWORD;

// Logged "SetThreadExecutionState <flags in hex>"; returns the previous flags.
EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE esFlags);
// Logged "SetSystemPowerState suspend|hibernate [forced]"; needs the shut-down privilege.
BOOL SetSystemPowerState(BOOL fSuspend, BOOL fForce);
// Logged "ExitWindowsEx <flags>"; needs the shut-down privilege for a shut-down or reboot.
BOOL ExitWindowsEx(UINT uFlags, DWORD dwReason);


BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, HANDLE* TokenHandle);
BOOL LookupPrivilegeValueA(LPCSTR lpSystemName, LPCSTR lpName, LUID* lpLuid);
// Enables (or disables) the privileges listed; only SeShutdownPrivilege exists here.
BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState,
                           DWORD BufferLength, PTOKEN_PRIVILEGES PreviousState, DWORD* ReturnLength);

// WM_POWERBROADCAST events and the answer that refuses a suspend query.
#define PBT_APMQUERYSUSPEND 0x0000
#define PBT_APMSUSPEND 0x0004
#define PBT_APMRESUMECRITICAL 0x0006
#define PBT_APMRESUMESUSPEND 0x0007
#define PBT_APMRESUMEAUTOMATIC 0x0012
#define BROADCAST_QUERY_DENY 0x424D5144
