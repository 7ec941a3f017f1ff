// One window's state, as a compositor, a hit test or a test may read it.
//
// Rectangles are kept in the parent's client coordinates (screen coordinates for a
// top-level window): `rect` is the whole window, `client` its client area as the last
// WM_NCCALCSIZE gave it. Children are listed front (top of the z-order) first. Everything
// here is guarded by the user lock (UserSystem::lock()); a window is owned by the window
// table and lives until WM_NCDESTROY has been sent to it.
#pragma once

#include <win32/gdi/Region.h>
#include <win32/user/WindowClass.h>
#include <win32/user/window.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

namespace plat {

// What a dialog keeps beside its window (DefDlgProcA, EndDialog, the DWLP_ values).
struct DialogState {
  DLGPROC proc = nullptr;
  LONG_PTR msgResult = 0;
  LONG_PTR user = 0;
  bool ended = false;
  INT_PTR result = 0;
  HWND savedFocus = nullptr;
  HWND disabledOwner = nullptr;  // re-enabled by EndDialog
  WORD defaultId = 1;            // IDOK
};

class Window {
 public:
  enum class Life { creating, alive, destroying };

  Window(HWND handle, std::shared_ptr<const WindowClass> cls, DWORD threadId);

  const HWND handle;
  const std::shared_ptr<const WindowClass> windowClass;
  const DWORD threadId;

  Life life = Life::creating;
  WNDPROC proc;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string text;
  HWND parent = nullptr;  // child windows only
  HWND owner = nullptr;   // top-level windows only
  std::vector<HWND> children;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  std::vector<BYTE> extraBytes;
  std::vector<std::pair<std::string, HANDLE>> props;

  RECT rect{};
  RECT client{};
  // The restored rectangle while minimized or maximized (WINDOWPLACEMENT).
  RECT normalRect{};
  POINT minPosition{-1, -1};
  POINT maxPosition{-1, -1};

  // The part of the client area waiting for WM_PAINT (see UpdateRegion).
  Region updateRegion;
  bool eraseOnPaint = false;
  bool framePending = false;  // WM_NCPAINT owed before the next paint

  // The standard scroll bars' state, horizontal then vertical (SetScrollInfo).
  struct ScrollBar {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int track = 0;
  };
  ScrollBar scrollBars[2];

  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;

  std::optional<DialogState> dialog;
  // Monotonic time of the last raise to the top, ordering windows across processes.
  std::int64_t raisedAt = 0;
  // Hidden because its owner was minimized; shown again when the owner is restored.
  bool hiddenWithOwner = false;
  // The frame's look (WM_NCACTIVATE): active or inactive caption.
  bool frameActive = false;

  bool isChild() const { return (style & WS_CHILD) != 0; }
  int width() const { return rect.right - rect.left; }
  int height() const { return rect.bottom - rect.top; }
  bool needsPaint() const { return !updateRegion.isEmpty() || framePending; }
};

}  // namespace plat
