#include <win32/user/DeviceContext.h>

#include <map>
#include <mutex>

namespace plat {

namespace {
std::mutex g_lock;
std::map<HDC, HWND> g_open;
std::uintptr_t g_next = 0xDC0000;
}  // namespace

HDC DeviceContext::open(HWND window) {
  std::lock_guard guard(g_lock);
  const auto hdc = reinterpret_cast<HDC>(g_next += 4);
  g_open[hdc] = window;
  return hdc;
}

bool DeviceContext::close(HDC hdc) {
  std::lock_guard guard(g_lock);
  return g_open.erase(hdc) > 0;
}

}  // namespace plat
