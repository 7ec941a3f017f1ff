#include <win32/user/DialogManager.h>

#include <win32/error.h>
#include <win32/gdi/draw.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/MessagePump.h>
#include <win32/user/UserSystem.h>
#include <win32/user/controls.h>
#include <win32/user/input.h>
#include <win32/user/metrics.h>
#include <win32/user/window.h>

#include <algorithm>
#include <vector>

namespace plat {

namespace {

std::optional<DialogState> stateOf(HWND dialog) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(dialog);
  if (!window || !window->dialog) return std::nullopt;
  return *window->dialog;
}

template <class F>
void changeState(HWND dialog, F change) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(dialog);
  if (window && window->dialog) change(*window->dialog);
}

bool isInside(HWND dialog, HWND hwnd) { return hwnd && (hwnd == dialog || IsChild(dialog, hwnd)); }

// Messages whose answer a dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool returnsDirectly(UINT message) {
  return message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
         message == WM_VKEYTOITEM || message == WM_QUERYDRAGICON;
}

}  // namespace

HWND DialogManager::create(const res::Dialog& dialogTemplate, HINSTANCE instance, HWND parent, DLGPROC proc,
                           LPARAM init) {
  const DWORD style = dialogTemplate.style;
  RECT frame{0, 0, dialogTemplate.cx, dialogTemplate.cy};
  AdjustWindowRectEx(&frame, style, FALSE, dialogTemplate.exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  int x = dialogTemplate.x;
  int y = dialogTemplate.y;
  if ((style & DS_CENTER) && !(style & WS_CHILD)) {
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    x = area.left + (area.right - area.left - width) / 2;
    y = area.top + (area.bottom - area.top - height) / 2;
  }
  const char* className = dialogTemplate.className && *dialogTemplate.className ? dialogTemplate.className : WC_DIALOG;
  HWND dialog = CreateWindowExA(dialogTemplate.exStyle, className, dialogTemplate.caption,
                                style & ~static_cast<DWORD>(WS_VISIBLE), x, y, width, height, parent, nullptr,
                                instance, nullptr);
  if (!dialog) return nullptr;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    if (const auto window = system.window(dialog)) window->dialog = DialogState{proc};
  }
  for (std::size_t i = 0; i < dialogTemplate.controlCount; ++i) {
    const res::Control& c = dialogTemplate.controls[i];
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id));
    if (!CreateWindowExA(c.exStyle, c.className, c.text, c.style | WS_CHILD, c.x, c.y, c.cx, c.cy, dialog, id, instance,
                         nullptr)) {
      DestroyWindow(dialog);
      return nullptr;
    }
  }
  HWND first = nextTabItem(dialog, nullptr, false);
  const LRESULT setFocus = MessageDelivery::send(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), init);
  if (!IsWindow(dialog)) return nullptr;
  if (setFocus && first) changeState(dialog, [first](DialogState& state) { state.savedFocus = first; });
  if (style & WS_VISIBLE) ShowWindow(dialog, SW_SHOWNORMAL);
  if (setFocus && first && IsWindowVisible(dialog)) SetFocus(first);
  return dialog;
}

bool DialogManager::hasEnded(HWND dialog, INT_PTR& result) {
  const auto state = stateOf(dialog);
  if (!state) return true;
  result = state->result;
  return state->ended;
}

INT_PTR DialogManager::runModal(HWND dialog, HWND owner, const std::function<bool()>& onIdle,
                                const std::function<bool()>& fallback) {
  if (owner && IsWindowEnabled(owner)) {
    EnableWindow(owner, FALSE);
    changeState(dialog, [owner](DialogState& state) { state.disabledOwner = owner; });
  }
  if (!IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
  const auto queue = UserSystem::current().queue();
  INT_PTR result = 0;
  while (!hasEnded(dialog, result)) {
    queue->clearWake();
    MSG msg;
    if (MessagePump::peek(msg, MessageFilter{}, true)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (!isDialogMessage(dialog, msg)) {
        MessagePump::translate(msg);
        MessagePump::dispatch(msg);
      }
      continue;
    }
    if (onIdle && onIdle()) continue;
    MessagePump::idle(*queue, fallback);
  }
  // A dialog left without EndDialog (destroyed, or the thread quitting) still frees its owner.
  if (const auto state = stateOf(dialog); state && state->disabledOwner) EnableWindow(state->disabledOwner, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return result;
}

bool DialogManager::end(HWND dialog, INT_PTR result) {
  HWND owner = nullptr;
  bool found = false;
  changeState(dialog, [&](DialogState& state) {
    found = true;
    state.ended = true;
    state.result = result;
    owner = std::exchange(state.disabledOwner, nullptr);
  });
  if (!found) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (owner) EnableWindow(owner, TRUE);
  ShowWindow(dialog, SW_HIDE);
  PostMessageA(dialog, WM_NULL, 0, 0);
  return true;
}

HWND DialogManager::nextTabItem(HWND dialog, HWND control, bool previous) {
  std::vector<HWND> stops;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const auto style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) stops.push_back(child);
  }
  if (stops.empty()) return nullptr;
  const auto it = std::find(stops.begin(), stops.end(), control);
  if (it == stops.end()) return previous ? stops.back() : stops.front();
  const auto index = static_cast<std::size_t>(it - stops.begin());
  const std::size_t n = stops.size();
  return stops[previous ? (index + n - 1) % n : (index + 1) % n];
}

void DialogManager::saveFocus(HWND dialog) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus)) changeState(dialog, [focus](DialogState& state) { state.savedFocus = focus; });
}

void DialogManager::restoreFocus(HWND dialog) {
  const auto state = stateOf(dialog);
  HWND target = state && state->savedFocus && IsChild(dialog, state->savedFocus) ? state->savedFocus
                                                                                : nextTabItem(dialog, nullptr, false);
  SetFocus(target ? target : dialog);
}

LRESULT DialogManager::defaultHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return 0;
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (!cancel || IsWindowEnabled(cancel))
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case DM_GETDEFID: {
      const auto state = stateOf(dialog);
      return state && state->defaultId ? MAKELRESULT(state->defaultId, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
      changeState(dialog, [wParam](DialogState& state) { state.defaultId = static_cast<WORD>(wParam); });
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        saveFocus(dialog);
      else
        restoreFocus(dialog);
      return 0;
    case WM_SETFOCUS:
      restoreFocus(dialog);
      return 0;
    case WM_NEXTDLGCTL:
      if (lParam)
        SetFocus(reinterpret_cast<HWND>(wParam));
      else
        SetFocus(nextTabItem(dialog, GetFocus(), wParam != 0));
      return 0;
    case WM_ERASEBKGND:
      eraseBackground(dialog, reinterpret_cast<HDC>(wParam));
      return 1;
    default:
      return DefWindowProcA(dialog, message, wParam, lParam);
  }
}

// A dialog is filled with the brush its WM_CTLCOLORDLG answer gives, the 3-D face colour
// when it gives none.
void DialogManager::eraseBackground(HWND dialog, HDC hdc) {
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hdc),
                                                     reinterpret_cast<LPARAM>(dialog)));
  if (!brush) brush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
  RECT client{};
  GetClientRect(dialog, &client);
  FillRect(hdc, &client, brush);
}

LRESULT DialogManager::defaultProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto state = stateOf(dialog);
  if (state && state->proc) {
    const INT_PTR answer = state->proc(dialog, message, wParam, lParam);
    if (answer) {
      if (returnsDirectly(message)) return answer;
      const auto after = stateOf(dialog);
      return after ? after->msgResult : 0;
    }
  }
  return defaultHandling(dialog, message, wParam, lParam);
}

bool DialogManager::handleKey(HWND dialog, MSG& msg) {
  const auto key = static_cast<int>(msg.wParam);
  if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE) return false;
  const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  if (code & DLGC_WANTALLKEYS) return false;
  if (key == VK_TAB) {
    if (code & DLGC_WANTTAB) return false;
    SendMessageA(dialog, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) < 0) ? 1 : 0, 0);
    return true;
  }
  int id = IDCANCEL;
  if (key == VK_RETURN) {
    HWND focus = GetFocus();
    const LRESULT focusCode = focus && IsChild(dialog, focus) ? SendMessageA(focus, WM_GETDLGCODE, 0, 0) : 0;
    if (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
      id = GetDlgCtrlID(focus);
    } else {
      const LRESULT defId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
      id = HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : IDOK;
    }
  }
  HWND button = GetDlgItem(dialog, id);
  if (button && !IsWindowEnabled(button)) return true;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return true;
}

bool DialogManager::isDialogMessage(HWND dialog, MSG& msg) {
  if (!isInside(dialog, msg.hwnd)) return false;
  if (msg.message == WM_KEYDOWN && handleKey(dialog, msg)) return true;
  if (msg.message == WM_CHAR && (msg.wParam == '\t' || msg.wParam == '\r' || msg.wParam == 0x1B)) {
    const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (!(code & (DLGC_WANTALLKEYS | DLGC_WANTCHARS))) return true;
  }
  MessagePump::translate(msg);
  MessagePump::dispatch(msg);
  return true;
}

}  // namespace plat
