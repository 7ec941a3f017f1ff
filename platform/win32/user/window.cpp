#include <win32/user/window.h>

#include <win32/thread.h>
#include <win32/user/FocusManager.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/WindowAccess.h>
#include <win32/user/WindowDirectory.h>
#include <win32/user/WindowLifecycle.h>
#include <win32/user/WindowPositioner.h>
#include <win32/user/dialog.h>
#include <win32/user/input.h>
#include <win32/user/usererror.h>

#include <algorithm>
#include <cstring>

using plat::UserSystem;
using plat::Window;
using plat::withWindow;

namespace {

ATOM registerClass(UINT style, WNDPROC proc, int classExtra, int windowExtra, HINSTANCE instance, HICON icon,
                   HICON smallIcon, HCURSOR cursor, HBRUSH background, LPCSTR menuName, LPCSTR className) {
  if (!proc || !className || IS_INTRESOURCE(className) || !*className) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  plat::WindowClass cls;
  cls.name = className;
  cls.style = style;
  cls.proc = proc;
  cls.classExtra = classExtra;
  cls.windowExtra = windowExtra;
  cls.instance = instance;
  cls.icon = icon;
  cls.smallIcon = smallIcon;
  cls.cursor = cursor;
  cls.background = background;
  if (menuName && !IS_INTRESOURCE(menuName)) cls.menuName = menuName;
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const ATOM atom = system.classes().add(std::move(cls));
  if (!atom) SetLastError(ERROR_CLASS_ALREADY_EXISTS);
  return atom;
}

// The dialog values live beside the window, at the DWLP_ indices of a dialog.
LONG_PTR* dialogSlot(Window& window, int index) {
  if (!window.dialog) return nullptr;
  switch (index) {
    case DWLP_MSGRESULT:
      return &window.dialog->msgResult;
    case DWLP_USER:
      return &window.dialog->user;
    default:
      return nullptr;
  }
}

bool extraBytesFit(const Window& window, int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) + size <= window.extraBytes.size();
}

LONG_PTR getLong(HWND hwnd, int index, std::size_t size) {
  // Another process's window shows its extended style, as it last published it.
  if (index == GWL_EXSTYLE && hwnd && !plat::WindowTable::isLocal(hwnd)) {
    const auto entry = UserSystem::current().directory().find(hwnd);
    if (entry) return static_cast<LONG>(entry->exStyle);
  }
  return withWindow(hwnd, LONG_PTR{0}, [&](Window& window) -> LONG_PTR {
    switch (index) {
      case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(window.proc);
      case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window.instance);
      case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(window.isChild() ? window.parent : window.owner);
      case GWLP_ID:
        return window.id;
      case GWL_STYLE:
        return static_cast<LONG>(window.style);
      case GWL_EXSTYLE:
        return static_cast<LONG>(window.exStyle);
      case GWLP_USERDATA:
        return window.userData;
      default:
        break;
    }
    if (window.dialog && index == DWLP_DLGPROC) return reinterpret_cast<LONG_PTR>(window.dialog->proc);
    if (LONG_PTR* slot = dialogSlot(window, index)) return *slot;
    if (!extraBytesFit(window, index, size)) {
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
    LONG_PTR value = 0;
    std::memcpy(&value, window.extraBytes.data() + index, size);
    return size == sizeof(LONG) ? static_cast<LONG>(value) : value;
  });
}

// Style changes go through WM_STYLECHANGING, which may still alter them, and WM_STYLECHANGED.
LONG_PTR setStyle(HWND hwnd, int index, DWORD wanted) {
  const auto old = static_cast<DWORD>(getLong(hwnd, index, sizeof(LONG)));
  STYLESTRUCT change{old, wanted};
  SendMessageA(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
  withWindow(hwnd, 0, [&](Window& window) {
    (index == GWL_STYLE ? window.style : window.exStyle) = change.styleNew;
    return 0;
  });
  SendMessageA(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
  if (index == GWL_EXSTYLE) UserSystem::current().publish(hwnd);
  return static_cast<LONG>(old);
}

LONG_PTR setLong(HWND hwnd, int index, LONG_PTR value, std::size_t size) {
  if (index == GWL_STYLE || index == GWL_EXSTYLE) {
    if (!IsWindow(hwnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    return setStyle(hwnd, index, static_cast<DWORD>(value));
  }
  return withWindow(hwnd, LONG_PTR{0}, [&](Window& window) -> LONG_PTR {
    const auto swap = [&](auto& field, auto next) {
      const auto previous = field;
      field = next;
      return previous;
    };
    switch (index) {
      case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(swap(window.proc, reinterpret_cast<WNDPROC>(value)));
      case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(swap(window.instance, reinterpret_cast<HINSTANCE>(value)));
      case GWLP_HWNDPARENT:
        if (window.isChild()) return reinterpret_cast<LONG_PTR>(window.parent);
        return reinterpret_cast<LONG_PTR>(swap(window.owner, reinterpret_cast<HWND>(value)));
      case GWLP_ID:
        return swap(window.id, value);
      case GWLP_USERDATA:
        return swap(window.userData, value);
      default:
        break;
    }
    if (window.dialog && index == DWLP_DLGPROC)
      return reinterpret_cast<LONG_PTR>(swap(window.dialog->proc, reinterpret_cast<DLGPROC>(value)));
    if (LONG_PTR* slot = dialogSlot(window, index)) return swap(*slot, value);
    if (!extraBytesFit(window, index, size)) {
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
    LONG_PTR previous = 0;
    std::memcpy(&previous, window.extraBytes.data() + index, size);
    std::memcpy(window.extraBytes.data() + index, &value, size);
    return size == sizeof(LONG) ? static_cast<LONG>(previous) : previous;
  });
}

bool isPointerIndex(int index) {
  return index == GWLP_WNDPROC || index == GWLP_HINSTANCE || index == GWLP_HWNDPARENT;
}

}  // namespace

ATOM RegisterClassA(const WNDCLASSA* c) {
  if (!c) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return registerClass(c->style, c->lpfnWndProc, c->cbClsExtra, c->cbWndExtra, c->hInstance, c->hIcon, nullptr,
                       c->hCursor, c->hbrBackground, c->lpszMenuName, c->lpszClassName);
}

ATOM RegisterClassExA(const WNDCLASSEXA* c) {
  if (!c || c->cbSize != sizeof(WNDCLASSEXA)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return registerClass(c->style, c->lpfnWndProc, c->cbClsExtra, c->cbWndExtra, c->hInstance, c->hIcon, c->hIconSm,
                       c->hCursor, c->hbrBackground, c->lpszMenuName, c->lpszClassName);
}

BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto cls = system.classes().find(lpClassName);
  if (!cls) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  for (const auto& window : system.windows().all()) {
    if (window->windowClass == cls) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
  }
  return system.classes().remove(lpClassName);
}

int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
  std::string name;
  if (!plat::WindowTable::isLocal(hWnd)) {
    const auto entry = hWnd ? UserSystem::current().directory().find(hWnd) : std::nullopt;
    if (!entry) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    name = entry->className;
  } else if (!withWindow(hWnd, false, [&](Window& window) {
               name = window.windowClass->name;
               return true;
             })) {
    return 0;
  }
  if (!lpClassName || nMaxCount <= 0) return 0;
  const std::size_t count = std::min<std::size_t>(name.size(), static_cast<std::size_t>(nMaxCount - 1));
  std::memcpy(lpClassName, name.data(), count);
  lpClassName[count] = '\0';
  return static_cast<int>(count);
}

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
  CREATESTRUCTA cs{lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, Y, X,
                   static_cast<LONG>(dwStyle), lpWindowName, lpClassName, dwExStyle};
  return plat::WindowLifecycle::create(cs);
}

BOOL DestroyWindow(HWND hWnd) { return plat::WindowLifecycle::destroy(hWnd); }

BOOL IsWindow(HWND hWnd) {
  if (!hWnd) return FALSE;
  UserSystem& system = UserSystem::current();
  if (!plat::WindowTable::isLocal(hWnd)) return system.directory().find(hWnd).has_value();
  std::lock_guard guard(system.lock());
  return system.window(hWnd) != nullptr;
}

BOOL IsWindowVisible(HWND hWnd) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  for (auto window = system.window(hWnd); window; window = window->isChild() ? system.window(window->parent) : nullptr) {
    if (!(window->style & WS_VISIBLE)) return FALSE;
    if (!window->isChild()) return TRUE;
  }
  return FALSE;
}

BOOL IsWindowEnabled(HWND hWnd) {
  return withWindow(hWnd, FALSE, [](Window& window) { return (window.style & WS_DISABLED) ? FALSE : TRUE; });
}

BOOL IsChild(HWND hWndParent, HWND hWnd) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  for (auto window = system.window(hWnd); window && window->isChild(); window = system.window(window->parent))
    if (window->parent == hWndParent) return TRUE;
  return FALSE;
}

BOOL IsIconic(HWND hWnd) {
  return withWindow(hWnd, FALSE, [](Window& window) { return (window.style & WS_MINIMIZE) ? TRUE : FALSE; });
}

BOOL IsZoomed(HWND hWnd) {
  return withWindow(hWnd, FALSE, [](Window& window) { return (window.style & WS_MAXIMIZE) ? TRUE : FALSE; });
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) { return plat::WindowPositioner::show(hWnd, nCmdShow); }

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
  bool wasDisabled = false;
  bool changed = false;
  if (!withWindow(hWnd, false, [&](Window& window) {
        wasDisabled = (window.style & WS_DISABLED) != 0;
        changed = wasDisabled == (bEnable != FALSE);
        if (bEnable)
          window.style &= ~static_cast<DWORD>(WS_DISABLED);
        else
          window.style |= WS_DISABLED;
        return true;
      }))
    return FALSE;
  if (changed) {
    if (!bEnable) {
      HWND focus = GetFocus();
      if (focus && (focus == hWnd || IsChild(hWnd, focus))) SetFocus(nullptr);
      if (GetCapture() == hWnd) ReleaseCapture();
    }
    SendMessageA(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  }
  return wasDisabled ? TRUE : FALSE;
}

DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
  if (!plat::WindowTable::isLocal(hWnd)) {
    const auto entry = hWnd ? UserSystem::current().directory().find(hWnd) : std::nullopt;
    if (!entry) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    if (lpdwProcessId) *lpdwProcessId = entry->processId;
    return entry->threadId;
  }
  return withWindow(hWnd, DWORD{0}, [&](Window& window) {
    if (lpdwProcessId) *lpdwProcessId = GetCurrentProcessId();
    return window.threadId;
  });
}

LONG GetWindowLongA(HWND hWnd, int nIndex) {
  if (isPointerIndex(nIndex)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return static_cast<LONG>(getLong(hWnd, nIndex, sizeof(LONG)));
}

LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
  if (isPointerIndex(nIndex)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return static_cast<LONG>(setLong(hWnd, nIndex, dwNewLong, sizeof(LONG)));
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex) { return getLong(hWnd, nIndex, sizeof(LONG_PTR)); }

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  return setLong(hWnd, nIndex, dwNewLong, sizeof(LONG_PTR));
}

HWND GetParent(HWND hWnd) {
  return withWindow(hWnd, HWND{nullptr}, [](Window& window) {
    if (window.isChild()) return window.parent;
    return (window.style & WS_POPUP) ? window.owner : nullptr;
  });
}

HWND GetAncestor(HWND hwnd, UINT gaFlags) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  auto window = system.window(hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (gaFlags == GA_PARENT) return window->isChild() ? window->parent : nullptr;
  while (window->isChild())
    if (const auto parent = system.window(window->parent)) window = parent; else break;
  if (gaFlags == GA_ROOTOWNER)
    while (const auto owner = system.window(window->owner)) window = owner;
  return window->handle;
}

HWND GetWindow(HWND hWnd, UINT uCmd) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hWnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (uCmd == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
  if (uCmd == GW_OWNER) return window->isChild() ? nullptr : window->owner;
  const auto parent = window->isChild() ? system.window(window->parent) : nullptr;
  const std::vector<HWND>& siblings = parent ? parent->children : system.windows().topLevel();
  const auto it = std::find(siblings.begin(), siblings.end(), hWnd);
  switch (uCmd) {
    case GW_HWNDFIRST:
      return siblings.empty() ? nullptr : siblings.front();
    case GW_HWNDLAST:
      return siblings.empty() ? nullptr : siblings.back();
    case GW_HWNDNEXT:
      return it == siblings.end() || it + 1 == siblings.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return it == siblings.end() || it == siblings.begin() ? nullptr : *(it - 1);
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto dialog = system.window(hDlg);
  if (!dialog) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  for (HWND child : dialog->children)
    if (const auto window = system.window(child); window && window->id == nIDDlgItem) return child;
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
  return withWindow(hWnd, 0, [](Window& window) { return window.isChild() ? static_cast<int>(window.id) : 0; });
}
