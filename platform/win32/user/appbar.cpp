#include <win32/user/appbar.h>

#include <algorithm>
#include <array>
#include <mutex>

namespace {

struct Bar {
  HWND hwnd;
  UINT callback;
};

struct AppBarState {
  std::mutex lock;
  std::vector<Bar> bars;
  std::array<HWND, 4> autoHide{};
};

AppBarState& state() {
  static AppBarState s;
  return s;
}

auto findBar(AppBarState& s, HWND hwnd) {
  return std::find_if(s.bars.begin(), s.bars.end(), [hwnd](const Bar& bar) { return bar.hwnd == hwnd; });
}

UINT_PTR setAutoHide(AppBarState& s, const APPBARDATA& data) {
  if (data.uEdge > ABE_BOTTOM) return FALSE;
  HWND& holder = s.autoHide[data.uEdge];
  if (data.lParam) {
    if (holder && holder != data.hWnd) return FALSE;
    holder = data.hWnd;
    return TRUE;
  }
  if (holder != data.hWnd) return FALSE;
  holder = nullptr;
  return TRUE;
}

}  // namespace

UINT_PTR SHAppBarMessage(DWORD dwMessage, PAPPBARDATA pData) {
  if (!pData) return FALSE;
  AppBarState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  const bool known = findBar(s, pData->hWnd) != s.bars.end();
  switch (dwMessage) {
    case ABM_NEW:
      if (known || !pData->hWnd) return FALSE;
      s.bars.push_back({pData->hWnd, pData->uCallbackMessage});
      return TRUE;
    case ABM_REMOVE:
      if (known) s.bars.erase(findBar(s, pData->hWnd));
      for (HWND& holder : s.autoHide)
        if (holder == pData->hWnd) holder = nullptr;
      return TRUE;
    case ABM_QUERYPOS:
    case ABM_SETPOS:
      return known;
    case ABM_GETAUTOHIDEBAR:
      return pData->uEdge <= ABE_BOTTOM ? reinterpret_cast<UINT_PTR>(s.autoHide[pData->uEdge]) : 0;
    case ABM_SETAUTOHIDEBAR:
      return setAutoHide(s, *pData);
    case ABM_ACTIVATE:
    case ABM_WINDOWPOSCHANGED:
      return known;
    default:
      return FALSE;
  }
}

namespace plat {

std::vector<HWND> AppBars::registered() {
  AppBarState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  std::vector<HWND> out;
  for (const Bar& bar : s.bars) out.push_back(bar.hwnd);
  return out;
}

UINT AppBars::callbackMessage(HWND hwnd) {
  AppBarState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  const auto it = findBar(s, hwnd);
  return it == s.bars.end() ? 0 : it->callback;
}

HWND AppBars::autoHideBar(UINT edge) {
  AppBarState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  return edge <= ABE_BOTTOM ? s.autoHide[edge] : nullptr;
}

void AppBars::reset() {
  AppBarState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  s.bars.clear();
  s.autoHide = {};
}

}  // namespace plat
