// The power calls: process tokens with the shut-down privilege, stand-by, shut-down and
// execution state, over the machine's power state.
#include <win32/shell/power.h>

#include <machine/Machine.h>
#include <machine/PowerState.h>
#include <win32/error.h>
#include <win32/kernel/HandleTable.h>
#include <win32/shell/PowerBroadcast.h>
#include <win32/thread.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD kShutdownLuid = 19;

// The process's token: whether its shut-down privilege is enabled, per machine so that
// each test's machine starts without it.
struct ProcessToken {
  explicit ProcessToken(plat::Machine&) {}
  std::atomic<bool> shutdownEnabled{false};
  std::atomic<EXECUTION_STATE> executionState{ES_CONTINUOUS};
};

ProcessToken& Token() { return plat::Machine::current().service<ProcessToken>(); }

class TokenObject : public plat::KernelObject {};

plat::PowerState& Power() { return plat::Machine::current().service<plat::PowerState>(); }

bool MayShutDown() {
  if (Token().shutdownEnabled) return true;
  SetLastError(ERROR_PRIVILEGE_NOT_HELD);
  return false;
}

}  // namespace

BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD, HANDLE* TokenHandle) {
  if (!TokenHandle || ProcessHandle != GetCurrentProcess()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *TokenHandle = plat::HandleTable::instance().add(std::make_shared<TokenObject>());
  return TRUE;
}

BOOL LookupPrivilegeValueA(LPCSTR, LPCSTR lpName, PLUID lpLuid) {
  if (!lpName || !lpLuid || std::strcmp(lpName, SE_SHUTDOWN_NAME) != 0) {
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
  }
  *lpLuid = LUID{kShutdownLuid, 0};
  return TRUE;
}

BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState, DWORD,
                           PTOKEN_PRIVILEGES, PDWORD) {
  if (!plat::HandleTable::instance().getAs<TokenObject>(TokenHandle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (DisableAllPrivileges) {
    Token().shutdownEnabled = false;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
  }
  if (!NewState) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  bool allKnown = true;
  for (DWORD i = 0; i < NewState->PrivilegeCount && i < 1; ++i) {
    const LUID_AND_ATTRIBUTES& p = NewState->Privileges[i];
    if (p.Luid.LowPart != kShutdownLuid || p.Luid.HighPart != 0) {
      allKnown = false;
      continue;
    }
    Token().shutdownEnabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
  }
  SetLastError(allKnown ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
  return TRUE;
}

BOOL SetSystemPowerState(BOOL fSuspend, BOOL fForce) {
  if (!MayShutDown()) return FALSE;
  Power().note("power-request", std::string(fSuspend ? "suspend" : "hibernate") + (fForce ? ", forced" : ""));
  plat::PowerBroadcast::suspend();
  return TRUE;
}

BOOL ExitWindowsEx(UINT uFlags, DWORD) {
  const bool shutsDown = (uFlags & (EWX_SHUTDOWN | EWX_REBOOT | EWX_POWEROFF)) != 0;
  if (shutsDown && !MayShutDown()) return FALSE;
  char how[64];
  std::snprintf(how, sizeof how, "flags %u%s%s", uFlags, (uFlags & EWX_POWEROFF) ? ", power off" : "",
                (uFlags & EWX_FORCE) ? ", forced" : "");
  Power().powerOff(how);
  return TRUE;
}

EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE esFlags) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%08X", esFlags);
  Power().note("execution-state", text);
  return Token().executionState.exchange(esFlags | ES_CONTINUOUS);
}
