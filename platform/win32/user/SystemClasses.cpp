#include <win32/user/SystemClasses.h>

#include <win32/gdi/dc.h>
#include <win32/gdi/draw.h>
#include <win32/gdi/font.h>
#include <win32/gdi/object.h>
#include <win32/user/controls.h>
#include <win32/user/metrics.h>
#include <win32/user/paint.h>
#include <win32/user/dialog.h>
#include <win32/user/ComboBox.h>
#include <win32/user/EditControl.h>
#include <win32/user/ListBox.h>
#include <win32/user/ListView.h>
#include <win32/user/MenuTracker.h>
#include <win32/user/Tooltip.h>
#include <win32/user/Trackbar.h>
#include <win32/user/input.h>
#include <win32/user/window.h>

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace plat {

namespace {

DWORD buttonType(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool isCheckBox(DWORD type) { return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX; }
bool isRadioButton(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

// Set while a check box or radio button is checked.
constexpr const char* kCheckedProp = "plat.button.checked";

bool isChecked(HWND hwnd) { return GetPropA(hwnd, kCheckedProp) != nullptr; }

void setChecked(HWND hwnd, bool checked) {
  if (checked == isChecked(hwnd)) return;
  if (checked) SetPropA(hwnd, kCheckedProp, reinterpret_cast<HANDLE>(1));
  else RemovePropA(hwnd, kCheckedProp);
  InvalidateRect(hwnd, nullptr, TRUE);
}

bool isButton(HWND hwnd) {
  char className[16] = {};
  GetClassNameA(hwnd, className, sizeof className);
  return strcasecmp(className, "BUTTON") == 0;
}

bool startsGroup(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & WS_GROUP) != 0; }

// The automatic radio button checks itself and clears the others of its group: the
// siblings from the nearest one before it with WS_GROUP (or the first) up to the next.
void checkInGroup(HWND button) {
  HWND first = button;
  while (!startsGroup(first)) {
    HWND previous = GetWindow(first, GW_HWNDPREV);
    if (!previous) break;
    first = previous;
  }
  for (HWND sibling = first; sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling != first && startsGroup(sibling)) break;
    if (sibling != button && isButton(sibling) && buttonType(sibling) == BS_AUTORADIOBUTTON) setChecked(sibling, false);
  }
  setChecked(button, true);
}

void notifyClicked(HWND button) {
  const DWORD type = buttonType(button);
  if (type == BS_AUTOCHECKBOX) setChecked(button, !isChecked(button));
  if (type == BS_AUTORADIOBUTTON) checkInGroup(button);
  HWND parent = GetParent(button);
  if (parent) SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool pointInClient(HWND hwnd, LPARAM lParam) {
  RECT client;
  GetClientRect(hwnd, &client);
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

bool isPushButton(HWND hwnd) {
  const DWORD type = buttonType(hwnd);
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

int textColour(HWND hwnd, int enabledColour) { return IsWindowEnabled(hwnd) ? enabledColour : COLOR_GRAYTEXT; }

// The font a button or static was given (WM_SETFONT), else the GUI font.
constexpr const char* kFontProp = "plat.control.font";

HGDIOBJ controlFont(HWND hwnd) {
  HANDLE font = GetPropA(hwnd, kFontProp);
  return font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
}

// WM_SETFONT and WM_GETFONT of the controls that draw text themselves; false for other
// messages.
bool handleFont(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_SETFONT) {
    if (wParam) SetPropA(hwnd, kFontProp, reinterpret_cast<HANDLE>(wParam));
    else RemovePropA(hwnd, kFontProp);
    if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
    result = 0;
    return true;
  }
  if (message == WM_GETFONT) {
    result = reinterpret_cast<LRESULT>(GetPropA(hwnd, kFontProp));
    return true;
  }
  return false;
}

// A push button's face: raised (sunken while pushed), its text centred in its font.
void paintPushButton(HWND hwnd, HDC hdc, bool pushed) {
  RECT face{};
  GetClientRect(hwnd, &face);
  FillRect(hdc, &face, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  DrawEdge(hdc, &face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof(text));
  HGDIOBJ oldFont = SelectObject(hdc, controlFont(hwnd));
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(textColour(hwnd, COLOR_BTNTEXT)));
  DrawTextA(hdc, text, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(hdc, oldFont);
}

constexpr int kMarkSize = 13;

// A filled disc of `diameter` pixels with its top-left corner at (x, y), row by row.
void fillDisc(HDC hdc, int x, int y, int diameter, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  const double r = diameter / 2.0;
  for (int row = 0; row < diameter; ++row) {
    const double dy = row + 0.5 - r;
    const int half = static_cast<int>(std::lround(std::sqrt(std::max(0.0, r * r - dy * dy))));
    const RECT line{x + static_cast<int>(r) - half, y + row, x + static_cast<int>(r) + half, y + row + 1};
    FillRect(hdc, &line, brush);
  }
  DeleteObject(brush);
}

// A check box's square or a radio button's circle at the left, the mark when checked,
// and the text beside it.
void paintCheckButton(HWND hwnd, HDC hdc, bool radio) {
  RECT client{};
  GetClientRect(hwnd, &client);
  FillRect(hdc, &client, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  const bool enabled = IsWindowEnabled(hwnd) != FALSE;
  const int top = (client.bottom - kMarkSize) / 2;
  const COLORREF inside = GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
  const COLORREF ink = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  if (radio) {
    fillDisc(hdc, 0, top, kMarkSize - 1, GetSysColor(COLOR_BTNSHADOW));
    fillDisc(hdc, 1, top + 1, kMarkSize - 3, inside);
    if (isChecked(hwnd)) fillDisc(hdc, 4, top + 4, 4, ink);
  } else {
    RECT box{0, top, kMarkSize, top + kMarkSize};
    DrawEdge(hdc, &box, EDGE_SUNKEN, BF_RECT);
    const RECT well{2, top + 2, kMarkSize - 2, top + kMarkSize - 2};
    HBRUSH brush = CreateSolidBrush(inside);
    FillRect(hdc, &well, brush);
    DeleteObject(brush);
    if (isChecked(hwnd)) {
      HPEN pen = CreatePen(PS_SOLID, 2, ink);
      HGDIOBJ oldPen = SelectObject(hdc, pen);
      MoveToEx(hdc, 3, top + 6, nullptr);
      LineTo(hdc, 5, top + 9);
      LineTo(hdc, 10, top + 3);
      SelectObject(hdc, oldPen);
      DeleteObject(pen);
    }
  }
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof(text));
  RECT label{kMarkSize + 4, client.top, client.right, client.bottom};
  HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(textColour(hwnd, COLOR_BTNTEXT)));
  DrawTextA(hdc, text, -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(hdc, oldFont);
}

// Set while the button is held down by its own mouse press (BST_PUSHED).
constexpr const char* kPushedProp = "plat.button.pushed";

// A push button: pressed by the mouse (it keeps the capture until the button comes up),
// by Space or by BM_CLICK, it tells its parent BN_CLICKED. A capture that a subclass took
// for its own ends (hover tracking) clicks nothing: only the button's own press counts.
LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; handleFont(hwnd, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(hwnd);
      SetCapture(hwnd);
      SetPropA(hwnd, kPushedProp, reinterpret_cast<HANDLE>(1));
      return 0;
    case WM_LBUTTONUP: {
      const bool pushed = RemovePropA(hwnd, kPushedProp) != nullptr;
      if (GetCapture() == hwnd) ReleaseCapture();
      if (pushed && pointInClient(hwnd, lParam)) notifyClicked(hwnd);
      return 0;
    }
    case WM_CAPTURECHANGED:
      RemovePropA(hwnd, kPushedProp);
      return 0;
    case BM_GETSTATE:
      return GetPropA(hwnd, kPushedProp) ? BST_PUSHED : 0;
    case BM_GETCHECK:
      return isChecked(hwnd) ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK: {
      const DWORD type = buttonType(hwnd);
      if (isCheckBox(type) || isRadioButton(type)) setChecked(hwnd, wParam == BST_CHECKED);
      return 0;
    }
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_PAINT: {
      const DWORD type = buttonType(hwnd);
      const bool check = isCheckBox(type) || isRadioButton(type);
      if (!isPushButton(hwnd) && !check) return DefWindowProcA(hwnd, message, wParam, lParam);
      PAINTSTRUCT paint;
      HDC hdc = BeginPaint(hwnd, &paint);
      if (check) paintCheckButton(hwnd, hdc, isRadioButton(type));
      else paintPushButton(hwnd, hdc, GetPropA(hwnd, kPushedProp) != nullptr);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_KEYUP:
      if (wParam == VK_SPACE) notifyClicked(hwnd);
      return 0;
    case BM_CLICK:
      notifyClicked(hwnd);
      return 0;
    case WM_GETDLGCODE: {
      const DWORD type = buttonType(hwnd);
      if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (type == BS_PUSHBUTTON || type == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (isRadioButton(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      return DLGC_BUTTON;
    }
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

// A text static: its text in its font on the dialog face, aligned as its style says.
void paintStatic(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC hdc = BeginPaint(hwnd, &paint);
  RECT client{};
  GetClientRect(hwnd, &client);
  FillRect(hdc, &client, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  const UINT align = (style & SS_CENTER) ? DT_CENTER : (style & SS_RIGHT) ? DT_RIGHT : DT_LEFT;
  HGDIOBJ oldFont = SelectObject(hdc, controlFont(hwnd));
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(textColour(hwnd, COLOR_WINDOWTEXT)));
  DrawTextA(hdc, text.c_str(), -1, &client, align | DT_WORDBREAK | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
  SelectObject(hdc, oldFont);
  EndPaint(hwnd, &paint);
}

// A static lets the mouse through to what lies beneath, unless it asks to be told.
LRESULT CALLBACK staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST && !(GetWindowLongA(hwnd, GWL_STYLE) & SS_NOTIFY)) return HTTRANSPARENT;
  if (message == WM_GETDLGCODE) return DLGC_STATIC;
  if (message == WM_ENABLE) InvalidateRect(hwnd, nullptr, TRUE);
  if (LRESULT result = 0; handleFont(hwnd, message, wParam, lParam, result)) return result;
  if (message == WM_PAINT) {
    paintStatic(hwnd);
    return 0;
  }
  const LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_SETTEXT) InvalidateRect(hwnd, nullptr, TRUE);
  return result;
}

WindowClass make(const char* name, WNDPROC proc, UINT style) {
  WindowClass cls;
  cls.name = name;
  cls.proc = proc;
  cls.style = style;
  return cls;
}

}  // namespace

std::vector<WindowClass> systemClasses() {
  return {
      make(WC_DIALOG, DefDlgProcA, CS_DBLCLKS | CS_SAVEBITS),
      make("BUTTON", buttonProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW),
      make("STATIC", staticProc, CS_DBLCLKS),
      make("EDIT", EditControl::windowProc, CS_DBLCLKS),
      make("COMBOBOX", ComboBox::windowProc, CS_DBLCLKS),
      make(ComboBox::kListClass, ComboBox::listProc, CS_DBLCLKS | CS_SAVEBITS),
      make("LISTBOX", ListBox::windowProc, CS_DBLCLKS),
      make("SCROLLBAR", DefWindowProcA, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW),
      make(POPUPMENU_CLASS, MenuTracker::windowProc, CS_DBLCLKS | CS_SAVEBITS),
      make(WC_LISTVIEW, ListView::windowProc, CS_DBLCLKS),
      make(WC_HEADER, ListView::headerProc, CS_DBLCLKS),
      make(TOOLTIPS_CLASS, Tooltip::windowProc, CS_DBLCLKS | CS_SAVEBITS),
      make(TRACKBAR_CLASS, Trackbar::windowProc, CS_DBLCLKS),
  };
}

}  // namespace plat
