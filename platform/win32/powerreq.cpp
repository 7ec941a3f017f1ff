#include <win32/powerreq.h>

#include <win32/HandleTable.h>
#include <win32/error.h>

#include <machine/EventLog.h>
#include <machine/Machine.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

// The process token: its one privilege, enabled or not.
class ProcessToken : public plat::KernelObject {};

constexpr DWORD kShutdownPrivilegeId = 19;
std::atomic<bool> g_shutdownPrivilege{false};
std::atomic<EXECUTION_STATE> g_executionState{ES_CONTINUOUS};

void logPower(const char* category, const std::string& text) {
  plat::EventLog::power(plat::Machine::current()).write(category, text);
}

bool holdsShutdownPrivilege() {
  if (g_shutdownPrivilege) return true;
  SetLastError(ERROR_PRIVILEGE_NOT_HELD);
  return false;
}

}  // namespace

EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE esFlags) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(esFlags));
  logPower("SetThreadExecutionState", text);
  return g_executionState.exchange(esFlags);
}

BOOL SetSystemPowerState(BOOL fSuspend, BOOL fForce) {
  if (!holdsShutdownPrivilege()) return FALSE;
  logPower("SetSystemPowerState", std::string(fSuspend ? "suspend" : "hibernate") + (fForce ? " forced" : ""));
  return TRUE;
}

BOOL ExitWindowsEx(UINT uFlags, DWORD) {
  if ((uFlags & (EWX_SHUTDOWN | EWX_REBOOT | EWX_POWEROFF)) && !holdsShutdownPrivilege()) return FALSE;
  logPower("ExitWindowsEx", std::to_string(uFlags));
  return TRUE;
}

BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD, HANDLE* TokenHandle) {
  if (!ProcessHandle || !TokenHandle) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *TokenHandle = plat::HandleTable::instance().add(std::make_shared<ProcessToken>());
  return *TokenHandle != nullptr;
}

BOOL LookupPrivilegeValueA(LPCSTR, LPCSTR lpName, LUID* lpLuid) {
  if (!lpName || !lpLuid || std::strcmp(lpName, SE_SHUTDOWN_NAME) != 0) {
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
  }
  *lpLuid = {kShutdownPrivilegeId, 0};
  return TRUE;
}

BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState, DWORD,
                           PTOKEN_PRIVILEGES, DWORD*) {
  if (!plat::HandleTable::instance().getAs<ProcessToken>(TokenHandle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (DisableAllPrivileges) {
    g_shutdownPrivilege = false;
  } else if (NewState) {
    for (DWORD i = 0; i < NewState->PrivilegeCount; ++i)
      if (NewState->Privileges[i].Luid.LowPart == kShutdownPrivilegeId)
        g_shutdownPrivilege = (NewState->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
  }
  logPower("AdjustTokenPrivileges", g_shutdownPrivilege ? "SeShutdownPrivilege enabled" : "SeShutdownPrivilege disabled");
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}
