#include <win32/user/window.h>

#include <machine/IniDocument.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/WindowAccess.h>
#include <win32/user/WindowDirectory.h>

#include <algorithm>
#include <cstring>
#include <string>

using plat::UserSystem;
using plat::Window;
using plat::withWindow;

namespace {

// Properties are named by string or by atom (MAKEINTATOM), which we keep as "#atom".
std::string propertyKey(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
  return name;
}

auto findProperty(Window& window, const std::string& key) {
  return std::find_if(window.props.begin(), window.props.end(),
                      [&](const auto& prop) { return plat::equalsNoCase(prop.first, key); });
}

bool matches(LPCSTR wanted, const std::string& actual, bool ignoreCase) {
  if (!wanted) return true;
  if (IS_INTRESOURCE(wanted)) return false;
  return ignoreCase ? plat::equalsNoCase(wanted, actual) : actual == wanted;
}

}  // namespace

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return plat::MessageDelivery::send(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : "")) ? TRUE
                                                                                                             : FALSE;
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  if (!lpString || nMaxCount <= 0) return 0;
  lpString[0] = '\0';
  if (hWnd && !plat::WindowTable::isLocal(hWnd)) {
    const auto entry = UserSystem::current().directory().find(hWnd);
    if (!entry) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    const std::size_t count = std::min<std::size_t>(entry->title.size(), static_cast<std::size_t>(nMaxCount - 1));
    std::memcpy(lpString, entry->title.data(), count);
    lpString[count] = '\0';
    return static_cast<int>(count);
  }
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(
      plat::MessageDelivery::send(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthA(HWND hWnd) {
  if (hWnd && !plat::WindowTable::isLocal(hWnd)) {
    const auto entry = UserSystem::current().directory().find(hWnd);
    return entry ? static_cast<int>(entry->title.size()) : 0;
  }
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(plat::MessageDelivery::send(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetPropA(HWND hWnd, LPCSTR lpString, HANDLE hData) {
  if (!lpString) return FALSE;
  return withWindow(hWnd, FALSE, [&](Window& window) {
    const std::string key = propertyKey(lpString);
    if (const auto it = findProperty(window, key); it != window.props.end())
      it->second = hData;
    else
      window.props.emplace_back(key, hData);
    return TRUE;
  });
}

HANDLE GetPropA(HWND hWnd, LPCSTR lpString) {
  if (!lpString) return nullptr;
  return withWindow(hWnd, HANDLE{nullptr}, [&](Window& window) {
    const auto it = findProperty(window, propertyKey(lpString));
    return it == window.props.end() ? nullptr : it->second;
  });
}

HANDLE RemovePropA(HWND hWnd, LPCSTR lpString) {
  if (!lpString) return nullptr;
  return withWindow(hWnd, HANDLE{nullptr}, [&](Window& window) {
    const auto it = findProperty(window, propertyKey(lpString));
    if (it == window.props.end()) return HANDLE{nullptr};
    const HANDLE data = it->second;
    window.props.erase(it);
    return data;
  });
}

namespace {

// The first matching top-level window after `after` (from the first when null), in the
// order FindWindowA walks: this process's windows, then the other processes' only when
// needed, since reading those is file work.
HWND nextTopLevelMatch(LPCSTR lpClassName, LPCSTR lpWindowName, HWND after) {
  UserSystem& system = UserSystem::current();
  const auto wantedClass = lpClassName && !IS_INTRESOURCE(lpClassName) && !*lpClassName ? nullptr : lpClassName;
  bool passed = after == nullptr;
  const auto take = [&](HWND hwnd) {
    if (passed) return true;
    passed = hwnd == after;
    return false;
  };
  {
    std::lock_guard guard(system.lock());
    const auto cls = wantedClass && IS_INTRESOURCE(wantedClass) ? system.classes().find(wantedClass) : nullptr;
    for (HWND hwnd : system.windows().topLevel()) {
      const auto window = system.window(hwnd);
      if (!window) continue;
      const bool classMatches = cls ? window->windowClass == cls : matches(wantedClass, window->windowClass->name, true);
      if (classMatches && matches(lpWindowName, window->text, false) && take(hwnd)) return hwnd;
    }
  }
  for (const auto& entry : system.directory().otherWindows())
    if (matches(wantedClass, entry.className, true) && matches(lpWindowName, entry.title, false) && take(entry.hwnd))
      return entry.hwnd;
  return nullptr;
}

}  // namespace

HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName) { return nextTopLevelMatch(lpClassName, lpWindowName, nullptr); }

HWND FindWindowExA(HWND hWndParent, HWND hWndChildAfter, LPCSTR lpszClass, LPCSTR lpszWindow) {
  if (hWndParent) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return nextTopLevelMatch(lpszClass, lpszWindow, hWndChildAfter);
}
