#include <win32/handleapi.h>

#include <win32/error.h>
#include <win32/kernel/HandleTable.h>

namespace {

// GetCurrentProcess() and GetCurrentThread() are these fixed values.
bool isPseudoHandle(HANDLE handle) {
  const auto value = reinterpret_cast<LONG_PTR>(handle);
  return value == -1 || value == -2;
}

}  // namespace

BOOL CloseHandle(HANDLE hObject) {
  if (isPseudoHandle(hObject)) return TRUE;
  if (!plat::HandleTable::instance().close(hObject)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
