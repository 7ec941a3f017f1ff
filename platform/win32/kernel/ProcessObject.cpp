#include <win32/kernel/ProcessObject.h>

#include <machine/ProcessStat.h>

#include <win32/error.h>
#include <win32/kernel/HandleTable.h>
#include <win32/thread.h>

namespace plat {

bool ProcessObject::isRunning(int processId) { return ProcessStat::isRunning(processId); }

Waitable::Grant ProcessObject::tryAcquire(DWORD) { return isRunning(m_processId) ? Grant::None : Grant::Granted; }

}  // namespace plat

HANDLE OpenProcess(DWORD, BOOL, DWORD processId) {
  if (!plat::ProcessObject::isRunning(static_cast<int>(processId))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return plat::HandleTable::instance().add(std::make_shared<plat::ProcessObject>(static_cast<int>(processId)));
}
