#include <win32/user/caret.h>

#include <win32/error.h>
#include <win32/thread.h>
#include <win32/user/UserSystem.h>
#include <win32/user/WindowAccess.h>
#include <win32/user/metrics.h>
#include <win32/user/usererror.h>
#include <win32/user/window.h>

namespace {

using plat::Caret;
using plat::UserSystem;

// Runs `change` on the calling thread's caret when it has one (owned by hWnd, unless
// hWnd is NULL); FALSE otherwise.
template <class Change>
BOOL changeCaret(HWND hWnd, Change&& change) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  Caret& caret = system.threadState().caret;
  if (!caret.owner || (hWnd && hWnd != caret.owner)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  change(caret);
  return TRUE;
}

}  // namespace

BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight) {
  if (hBitmap) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int width = nWidth ? nWidth : GetSystemMetrics(SM_CXBORDER);
  const int height = nHeight ? nHeight : GetSystemMetrics(SM_CYBORDER);
  return plat::withWindow(hWnd, FALSE, [&](const plat::Window& window) {
    if (window.threadId != GetCurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    UserSystem::current().threadState().caret = Caret{hWnd, SIZE{width, height}, POINT{0, 0}, 1};
    return TRUE;
  });
}

BOOL DestroyCaret() {
  return changeCaret(nullptr, [](Caret& caret) { caret = Caret{}; });
}

BOOL ShowCaret(HWND hWnd) {
  return changeCaret(hWnd, [](Caret& caret) {
    if (caret.hidden > 0) --caret.hidden;
  });
}

BOOL HideCaret(HWND hWnd) {
  return changeCaret(hWnd, [](Caret& caret) { ++caret.hidden; });
}

BOOL SetCaretPos(int X, int Y) {
  return changeCaret(nullptr, [X, Y](Caret& caret) { caret.position = POINT{X, Y}; });
}

BOOL GetCaretPos(LPPOINT lpPoint) {
  if (!lpPoint) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return changeCaret(nullptr, [lpPoint](Caret& caret) { *lpPoint = caret.position; });
}

BOOL GetGUIThreadInfo(DWORD idThread, LPGUITHREADINFO pgui) {
  if (!pgui || pgui->cbSize != sizeof(GUITHREADINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const plat::ThreadState& state = system.threadState(idThread ? idThread : GetCurrentThreadId());
  const Caret& caret = state.caret;
  *pgui = GUITHREADINFO{sizeof(GUITHREADINFO), caret.owner && caret.hidden == 0 ? GUI_CARETBLINKING : 0u,
                        state.active, state.focus, state.capture, nullptr, nullptr, caret.owner,
                        RECT{caret.position.x, caret.position.y, caret.position.x + caret.size.cx,
                             caret.position.y + caret.size.cy}};
  return TRUE;
}
