#include <win32/thread.h>

#include <win32/error.h>
#include <win32/kernel/ThreadObject.h>

#include <unistd.h>

namespace {

HANDLE currentThreadPseudoHandle() { return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2)); }

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE startAddress, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId) {
  if (!startAddress) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = plat::ThreadObject::start(startAddress, parameter, (creationFlags & CREATE_SUSPENDED) != 0);
  if (!thread) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (threadId) *threadId = thread->id();
  return plat::HandleTable::instance().add(std::move(thread));
}

DWORD ResumeThread(HANDLE handle) {
  auto thread = plat::HandleTable::instance().getAs<plat::ThreadObject>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<DWORD>(-1);
  }
  return thread->resume();
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
  if (!exitCode) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (handle == currentThreadPseudoHandle()) {
    *exitCode = STILL_ACTIVE;
    return TRUE;
  }
  auto thread = plat::HandleTable::instance().getAs<plat::ThreadObject>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *exitCode = thread->exitCode();
  return TRUE;
}

DWORD GetCurrentThreadId() { return plat::ThreadObject::currentId(); }

HANDLE GetCurrentThread() { return currentThreadPseudoHandle(); }

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)); }
