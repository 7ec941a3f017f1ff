// Power management on the simulated PC (plat::PowerState): stand-by, wake-up timers,
// shut-down and the calls around them. Nothing is powered down for real; every request is
// written to the machine's power.log and acts on the machine's power state:
//
// - SetSystemPowerState(TRUE, …) sends WM_POWERBROADCAST PBT_APMSUSPEND to every top-level
//   window of the machine, then suspends the PC: no window timer fires until it wakes.
// - A waitable timer (<win32/sync.h>) set with resume wakes a suspended PC when the
//   machine clock reaches its time (plat::PowerBroadcast::wakeIfDue, which the robot calls
//   as it moves the clock), and PBT_APMRESUMEAUTOMATIC goes to every top-level window.
// - ExitWindowsEx powers the PC off (logged); the programs are not ended.
// - The shut-down privilege must be enabled on the caller's token first, as on Windows NT.
#pragma once

#include <win32/thread.h>
#include <win32/types.h>

#define PBT_APMQUERYSUSPEND 0x0000
#define PBT_APMSUSPEND 0x0004
#define PBT_APMRESUMECRITICAL 0x0006
#define PBT_APMRESUMESUSPEND 0x0007
#define PBT_APMRESUMEAUTOMATIC 0x0012
// The answer to PBT_APMQUERYSUSPEND that refuses the suspend.
#define BROADCAST_QUERY_DENY 0x424D5144

#define EWX_LOGOFF 0x00000000
#define EWX_SHUTDOWN 0x00000001
#define EWX_REBOOT 0x00000002
#define EWX_FORCE 0x00000004
#define EWX_POWEROFF 0x00000008

#define ES_SYSTEM_REQUIRED 0x00000001
#define ES_DISPLAY_REQUIRED 0x00000002
#define ES_CONTINUOUS 0x80000000
typedef DWORD EXECUTION_STATE;

#define TOKEN_ADJUST_PRIVILEGES 0x0020
#define TOKEN_QUERY 0x0008
#define SE_PRIVILEGE_ENABLED 0x00000002
#define SE_SHUTDOWN_NAME "SeShutdownPrivilege"
#define ERROR_NOT_ALL_ASSIGNED 1300L
#define ERROR_NO_SUCH_PRIVILEGE 1313L
#define ERROR_PRIVILEGE_NOT_HELD 1314L

typedef struct _LUID {
  DWORD LowPart;
  LONG HighPart;
} LUID, *PLUID;

typedef struct _LUID_AND_ATTRIBUTES {
  LUID Luid;
  DWORD Attributes;
} LUID_AND_ATTRIBUTES;

typedef struct _TOKEN_PRIVILEGES {
  DWORD PrivilegeCount;
  LUID_AND_ATTRIBUTES Privileges[1];
} TOKEN_PRIVILEGES, *PTOKEN_PRIVILEGES;

BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, HANDLE* TokenHandle);
// Knows SE_SHUTDOWN_NAME only.
BOOL LookupPrivilegeValueA(LPCSTR lpSystemName, LPCSTR lpName, PLUID lpLuid);
// Sets ERROR_SUCCESS, or ERROR_NOT_ALL_ASSIGNED for a privilege the token does not know.
BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState,
                           DWORD BufferLength, PTOKEN_PRIVILEGES PreviousState, PDWORD ReturnLength);

// FALSE with ERROR_PRIVILEGE_NOT_HELD unless a token of the process has the shut-down
// privilege enabled.
BOOL SetSystemPowerState(BOOL fSuspend, BOOL fForce);
BOOL ExitWindowsEx(UINT uFlags, DWORD dwReason);
// The previous state.
EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE esFlags);

#define LookupPrivilegeValue LookupPrivilegeValueA
