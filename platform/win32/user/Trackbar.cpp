#include <win32/user/Trackbar.h>

#include <win32/gdi.h>
#include <win32/user.h>

#include <algorithm>

namespace plat {

namespace {

constexpr const char* kStateProp = "plat.trackbar";
constexpr int kThumbWidth = 10;

struct State {
  long minimum = 0;
  long maximum = 100;
  long position = 0;
};

State* stateOf(HWND hwnd) { return static_cast<State*>(GetPropA(hwnd, kStateProp)); }

void setPosition(HWND hwnd, State& state, long position) {
  state.position = std::clamp(position, state.minimum, std::max(state.minimum, state.maximum));
  InvalidateRect(hwnd, nullptr, TRUE);
}

void notify(HWND hwnd, int code, long position) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)), reinterpret_cast<LPARAM>(hwnd));
  SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(hwnd));
}

// The user moved the thumb to `position`.
void userMove(HWND hwnd, State& state, long position, int code) {
  setPosition(hwnd, state, position);
  notify(hwnd, code, state.position);
}

int thumbLeft(const State& state, int width) {
  const long span = state.maximum - state.minimum;
  const int travel = std::max(0, width - kThumbWidth);
  return span > 0 ? static_cast<int>((state.position - state.minimum) * travel / span) : 0;
}

void paint(HWND hwnd, const State& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  FillRect(hdc, &client, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  const int middle = client.bottom / 2;
  RECT groove{kThumbWidth / 2, middle - 2, client.right - kThumbWidth / 2, middle + 2};
  DrawEdge(hdc, &groove, EDGE_SUNKEN, BF_RECT);
  const int left = thumbLeft(state, client.right);
  RECT thumb{left, 2, left + kThumbWidth, client.bottom - 2};
  FillRect(hdc, &thumb, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT);
  EndPaint(hwnd, &ps);
}

}  // namespace

LRESULT CALLBACK Trackbar::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  State* state = stateOf(hwnd);
  if (message == WM_NCCREATE) {
    SetPropA(hwnd, kStateProp, new State);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      delete static_cast<State*>(RemovePropA(hwnd, kStateProp));
      return 0;
    case TBM_GETPOS: return state->position;
    case TBM_GETRANGEMIN: return state->minimum;
    case TBM_GETRANGEMAX: return state->maximum;
    case TBM_SETPOS:
      setPosition(hwnd, *state, static_cast<long>(lParam));
      return 0;
    case TBM_SETRANGE:
      state->minimum = static_cast<SHORT>(LOWORD(lParam));
      state->maximum = static_cast<SHORT>(HIWORD(lParam));
      setPosition(hwnd, *state, state->position);
      return 0;
    case TBM_SETRANGEMIN:
      state->minimum = static_cast<long>(lParam);
      setPosition(hwnd, *state, state->position);
      return 0;
    case TBM_SETRANGEMAX:
      state->maximum = static_cast<long>(lParam);
      setPosition(hwnd, *state, state->position);
      return 0;
    case WM_LBUTTONDOWN: {
      SetFocus(hwnd);
      RECT client{};
      GetClientRect(hwnd, &client);
      const int travel = std::max(1, static_cast<int>(client.right) - kThumbWidth);
      const int x = std::clamp(GET_X_LPARAM(lParam) - kThumbWidth / 2, 0, travel);
      userMove(hwnd, *state, state->minimum + (state->maximum - state->minimum) * x / travel, TB_THUMBPOSITION);
      return 0;
    }
    case WM_KEYDOWN: {
      const long page = std::max(1L, (state->maximum - state->minimum) / 5);
      switch (wParam) {
        case VK_LEFT: userMove(hwnd, *state, state->position - 1, TB_LINEUP); break;
        case VK_RIGHT: userMove(hwnd, *state, state->position + 1, TB_LINEDOWN); break;
        case VK_PRIOR: userMove(hwnd, *state, state->position - page, TB_PAGEUP); break;
        case VK_NEXT: userMove(hwnd, *state, state->position + page, TB_PAGEDOWN); break;
        case VK_HOME: userMove(hwnd, *state, state->minimum, TB_TOP); break;
        case VK_END: userMove(hwnd, *state, state->maximum, TB_BOTTOM); break;
        default: break;
      }
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_PAINT:
      paint(hwnd, *state);
      return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace plat
