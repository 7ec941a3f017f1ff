#include <win32/ProcessObject.h>

#include <win32/HandleTable.h>
#include <win32/error.h>
#include <win32/thread.h>

#include <signal.h>

#include <cerrno>
#include <fstream>
#include <string>

namespace plat {

// A zombie has ended although its id still answers; its state is the field after the
// command name in parentheses.
bool ProcessObject::isRunning(int processId) {
  if (processId <= 0 || (::kill(processId, 0) != 0 && errno == ESRCH)) return false;
  std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  const auto close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() || line[close + 2] != 'Z';
}

Waitable::Grant ProcessObject::tryAcquire(DWORD) { return isRunning(m_processId) ? Grant::None : Grant::Granted; }

}  // namespace plat

HANDLE OpenProcess(DWORD, BOOL, DWORD processId) {
  if (!plat::ProcessObject::isRunning(static_cast<int>(processId))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return plat::HandleTable::instance().add(std::make_shared<plat::ProcessObject>(static_cast<int>(processId)));
}
