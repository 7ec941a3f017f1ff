#include <win32/user/WindowTable.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>

namespace plat {

namespace {
std::atomic<std::uint32_t> g_nextIndex{0x10};
}

HWND WindowTable::newHandle() {
  const auto pid = static_cast<std::uint64_t>(getpid());
  const std::uint64_t value = (pid << 32) | (g_nextIndex.fetch_add(2) & 0xFFFFFFFFu);
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

DWORD WindowTable::processOf(HWND hwnd) {
  return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(hwnd) >> 32);
}

bool WindowTable::isLocal(HWND hwnd) { return processOf(hwnd) == static_cast<DWORD>(getpid()); }

void WindowTable::add(std::shared_ptr<Window> window) { m_windows[window->handle] = std::move(window); }

void WindowTable::remove(HWND hwnd) {
  m_windows.erase(hwnd);
  std::erase(m_topLevel, hwnd);
}

std::shared_ptr<Window> WindowTable::find(HWND hwnd) const {
  const auto it = m_windows.find(hwnd);
  return it == m_windows.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<Window>> WindowTable::all() const {
  std::vector<std::shared_ptr<Window>> windows;
  windows.reserve(m_windows.size());
  for (const auto& [hwnd, window] : m_windows) windows.push_back(window);
  return windows;
}

}  // namespace plat
