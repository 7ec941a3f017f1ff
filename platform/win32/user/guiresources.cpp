#include <win32/user/guiresources.h>

#include <win32/error.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/IconTable.h>
#include <win32/thread.h>
#include <win32/user/MenuTable.h>
#include <win32/user/UserSystem.h>

#include <mutex>

namespace {

std::size_t WindowCount() {
  plat::UserSystem& system = plat::UserSystem::current();
  std::lock_guard guard(system.lock());
  return system.windows().all().size();
}

}  // namespace

DWORD GetGuiResources(HANDLE hProcess, DWORD uiFlags) {
  if (hProcess != GetCurrentProcess() || (uiFlags != GR_GDIOBJECTS && uiFlags != GR_USEROBJECTS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (uiFlags == GR_GDIOBJECTS) return static_cast<DWORD>(plat::GdiTable::instance().count());
  return static_cast<DWORD>(WindowCount() + plat::MenuTable::instance().count() + plat::IconTable::instance().count());
}
