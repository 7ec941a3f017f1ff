#include <win32/user/input.h>

#include <win32/error.h>
#include <win32/user/FocusManager.h>
#include <win32/user/UserSystem.h>
#include <win32/user/usererror.h>


using plat::FocusManager;
using plat::ThreadState;
using plat::UserSystem;

namespace {

// Standard cursors are headless handles, one per id, alike in every process.
HCURSOR standardCursor(WORD id) { return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(0xC0000000u | id)); }

bool isStandardCursor(WORD id) { return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651); }

}  // namespace

SHORT GetKeyState(int nVirtKey) {
  if (nVirtKey < 0 || nVirtKey > 255) return 0;
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const ThreadState& keys = system.threadState();
  const auto key = static_cast<std::size_t>(nVirtKey);
  return static_cast<SHORT>((keys.keyDown[key] ? 0x8000 : 0) | (keys.keyToggled[key] ? 1 : 0));
}

SHORT GetAsyncKeyState(int vKey) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  return static_cast<SHORT>(system.input().isDown(vKey) ? 0x8000 : 0);
}

BOOL GetCursorPos(LPPOINT lpPoint) {
  if (!lpPoint) return FALSE;
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  *lpPoint = system.input().cursor();
  return TRUE;
}

BOOL SetCursorPos(int X, int Y) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  system.input().moveCursor(POINT{X, Y});
  return TRUE;
}

int ShowCursor(BOOL bShow) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  int& count = system.threadState().cursorCount;
  count += bShow ? 1 : -1;
  return count;
}

BOOL GetCursorInfo(CURSORINFO* pci) {
  if (!pci || pci->cbSize != sizeof(CURSORINFO)) return FALSE;
  UserSystem& system = UserSystem::current();
  {
    std::lock_guard guard(system.lock());
    pci->flags = system.threadState().cursorCount >= 0 ? CURSOR_SHOWING : 0;
    pci->hCursor = system.input().cursorShape();
  }
  return GetCursorPos(&pci->ptScreenPos);
}

HCURSOR SetCursor(HCURSOR hCursor) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const HCURSOR previous = system.input().cursorShape();
  system.input().setCursorShape(hCursor);
  return previous;
}

HCURSOR GetCursor() {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  return system.input().cursorShape();
}

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
  if (!hInstance && IS_INTRESOURCE(lpCursorName)) {
    const auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpCursorName));
    if (isStandardCursor(id)) return standardCursor(id);
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HWND SetFocus(HWND hWnd) { return FocusManager::setFocus(hWnd); }

HWND GetFocus() { return FocusManager::focus(); }

HWND SetActiveWindow(HWND hWnd) { return FocusManager::activate(hWnd); }

HWND GetActiveWindow() { return FocusManager::active(); }

BOOL SetForegroundWindow(HWND hWnd) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  FocusManager::activate(hWnd);
  return TRUE;
}

HWND GetForegroundWindow() { return FocusManager::foreground(); }

HWND SetCapture(HWND hWnd) { return FocusManager::setCapture(hWnd); }

BOOL ReleaseCapture() { return FocusManager::releaseCapture() ? TRUE : FALSE; }

HWND GetCapture() { return FocusManager::capture(); }
