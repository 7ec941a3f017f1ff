#include <win32/shell/PowerBroadcast.h>

#include <machine/Machine.h>
#include <machine/PowerState.h>
#include <win32/shell/power.h>
#include <win32/user.h>
#include <win32/user/UserSystem.h>
#include <win32/user/WindowDirectory.h>
#include <win32/user/WindowTable.h>

#include <mutex>
#include <vector>

namespace plat {

namespace {
PowerState& State() { return Machine::current().service<PowerState>(); }
}  // namespace

void PowerBroadcast::toEveryWindow(unsigned event) {
  UserSystem& system = UserSystem::current();
  std::vector<HWND> windows;
  {
    std::lock_guard guard(system.lock());
    windows = system.windows().topLevel();
  }
  for (const WindowDirectory::Entry& entry : system.directory().otherWindows()) windows.push_back(entry.hwnd);
  // Sent one by one, as Windows broadcasts it: a window has handled it before the next.
  for (HWND hwnd : windows) SendMessageA(hwnd, WM_POWERBROADCAST, event, 0);
}

void PowerBroadcast::suspend() {
  toEveryWindow(PBT_APMSUSPEND);
  State().suspend();
}

bool PowerBroadcast::resume(std::string_view cause) {
  if (!State().resume(cause)) return false;
  toEveryWindow(PBT_APMRESUMEAUTOMATIC);
  return true;
}

bool PowerBroadcast::wakeIfDue() {
  PowerState& state = State();
  if (!state.isSuspended()) return false;
  const auto wake = state.wakeTime();
  if (!wake || Machine::current().clock().unixMs() < *wake) return false;
  return resume("wake-up timer");
}

std::uint64_t PowerBroadcast::stepBeforeWake(std::uint64_t ms) {
  PowerState& state = State();
  if (!state.isSuspended()) return ms;
  const auto wake = state.wakeTime();
  if (!wake) return ms;
  const std::int64_t left = *wake - Machine::current().clock().unixMs();
  if (left <= 0) return 0;
  return static_cast<std::uint64_t>(left) < ms ? static_cast<std::uint64_t>(left) : ms;
}

}  // namespace plat
