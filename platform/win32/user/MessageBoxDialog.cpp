#include <win32/user/MessageBoxDialog.h>

#include <win32/gdi/dc.h>
#include <win32/gdi/font.h>
#include <win32/gdi/icon.h>
#include <win32/gdi/object.h>
#include <win32/user/DialogManager.h>
#include <win32/user/UserSystem.h>
#include <win32/user/input.h>
#include <win32/user/controls.h>
#include <win32/user/metrics.h>
#include <win32/user/msgbox.h>
#include <win32/user/paint.h>
#include <win32/user/resource.h>
#include <win32/user/window.h>

#include <algorithm>
#include <map>
#include <vector>

namespace plat {

namespace {

struct Button {
  int id;
  const char* text;
};

std::vector<Button> buttonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL:
      return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO:
      return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default:
      return {{IDOK, "OK"}};
  }
}

// The answers of a box and its icon, kept for its dialog procedure while the box runs.
struct BoxAnswers {
  std::vector<Button> buttons;
  HICON icon = nullptr;
  POINT iconAt{0, 0};
  bool has(int id) const {
    return std::any_of(buttons.begin(), buttons.end(), [id](const Button& b) { return b.id == id; });
  }
};

thread_local std::map<HWND, const BoxAnswers*> t_open;

INT_PTR CALLBACK boxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return TRUE;
  const auto open = t_open.find(box);
  if (open == t_open.end()) return FALSE;
  const BoxAnswers& answers = *open->second;
  if (message == WM_PAINT && answers.icon) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(box, &paint);
    DrawIcon(hdc, answers.iconAt.x, answers.iconAt.y, answers.icon);
    EndPaint(box, &paint);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  int id = LOWORD(wParam);
  // Escape and the close box mean Cancel; a box without Cancel takes them as its only OK.
  if (id == IDCANCEL && !answers.has(IDCANCEL)) {
    if (answers.buttons.size() != 1) return TRUE;
    id = answers.buttons.front().id;
  }
  if (answers.has(id)) DialogManager::end(box, id);
  return TRUE;
}

HICON iconFor(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return LoadIconA(nullptr, IDI_HAND);
    case MB_ICONQUESTION: return LoadIconA(nullptr, IDI_QUESTION);
    case MB_ICONEXCLAMATION: return LoadIconA(nullptr, IDI_EXCLAMATION);
    case MB_ICONASTERISK: return LoadIconA(nullptr, IDI_ASTERISK);
    default: return nullptr;
  }
}

// Where a box's parts go, in client pixels: the icon at the top left, the text beside it
// (wrapped at most three fifths of the screen wide), and the buttons in a centred row
// below, each as wide as its text needs and at least 75 pixels.
struct Layout {
  static constexpr int kMargin = 11;
  static constexpr int kIconGap = 12;
  static constexpr int kButtonGap = 6;
  static constexpr int kButtonHeight = 23;
  static constexpr int kLeastButtonWidth = 75;
  static constexpr int kButtonPadding = 16;

  RECT text{};
  POINT icon{kMargin, kMargin};
  std::vector<RECT> buttons;
  SIZE client{};
};

Layout layOut(HFONT font, const std::string& body, const std::vector<Button>& buttons, bool withIcon) {
  Layout layout;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  const int iconSize = withIcon ? GetSystemMetrics(SM_CXICON) : 0;
  RECT measured{0, 0, GetSystemMetrics(SM_CXSCREEN) * 3 / 5, 0};
  DrawTextA(dc, body.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  std::vector<int> widths;
  for (const Button& button : buttons) {
    RECT face{0, 0, 0, 0};
    DrawTextA(dc, button.text, -1, &face, DT_CALCRECT | DT_SINGLELINE);
    widths.push_back(std::max<int>(Layout::kLeastButtonWidth, face.right + Layout::kButtonPadding));
  }
  SelectObject(dc, old);
  DeleteDC(dc);

  const int textLeft = Layout::kMargin + (withIcon ? iconSize + Layout::kIconGap : 0);
  const int textHeight = std::max<int>(measured.bottom, 1);
  // A text shorter than the icon stands in the middle of the icon's height.
  const int textTop = Layout::kMargin + std::max(0, (iconSize - textHeight) / 2);
  layout.text = RECT{textLeft, textTop, textLeft + measured.right, textTop + textHeight};
  int row = -Layout::kButtonGap;
  for (const int width : widths) row += width + Layout::kButtonGap;
  const int width = std::max<int>(layout.text.right + Layout::kMargin, row + 2 * Layout::kMargin);
  const int top = std::max<int>(layout.text.bottom, Layout::kMargin + iconSize) + Layout::kMargin;
  int x = (width - row) / 2;
  for (const int buttonWidth : widths) {
    layout.buttons.push_back(RECT{x, top, x + buttonWidth, top + Layout::kButtonHeight});
    x += buttonWidth + Layout::kButtonGap;
  }
  layout.client = SIZE{width, top + Layout::kButtonHeight + Layout::kMargin};
  return layout;
}

}  // namespace

int MessageBoxDialog::show(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  const std::string body = text ? text : "";
  const std::string title = caption ? caption : "Error";
  BoxAnswers answers{buttonsFor(type), iconFor(type)};
  const std::size_t defaultIndex = std::min<std::size_t>((type & MB_DEFMASK) >> 8, answers.buttons.size() - 1);

  // Text and buttons in the message font of the system's non-client metrics.
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectA(&metrics.lfMessageFont);
  const Layout layout = layOut(font, body, answers.buttons, answers.icon != nullptr);
  answers.iconAt = layout.icon;

  std::vector<res::Control> controls;
  controls.push_back({"STATIC", 0xFFFF, body.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                      static_cast<int>(layout.text.left), static_cast<int>(layout.text.top),
                      static_cast<int>(layout.text.right - layout.text.left),
                      static_cast<int>(layout.text.bottom - layout.text.top)});
  for (std::size_t i = 0; i < answers.buttons.size(); ++i) {
    const DWORD kind = i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    const RECT& place = layout.buttons[i];
    controls.push_back({"BUTTON", answers.buttons[i].id, answers.buttons[i].text,
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind, 0, static_cast<int>(place.left),
                        static_cast<int>(place.top), static_cast<int>(place.right - place.left),
                        static_cast<int>(place.bottom - place.top)});
  }
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  const res::Dialog dialog{0, title.c_str(), "", style, WS_EX_DLGMODALFRAME, 0, 0, static_cast<int>(layout.client.cx),
                           static_cast<int>(layout.client.cy), controls.data(), controls.size()};

  HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  HWND box = DialogManager::create(dialog, nullptr, top, boxProc, 0);
  if (!box) {
    DeleteObject(font);
    return 0;
  }
  t_open[box] = &answers;
  for (HWND control = GetWindow(box, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const int defaultId = answers.buttons[defaultIndex].id;
  SendMessageA(box, DM_SETDEFID, static_cast<WPARAM>(defaultId), 0);
  if (HWND button = GetDlgItem(box, defaultId)) SetFocus(button);

  MessageBoxLog& log = UserSystem::current().messageBoxes();
  std::vector<std::string> buttonTexts;
  for (const Button& button : answers.buttons) buttonTexts.emplace_back(button.text);
  const std::size_t record = log.opened({owner, box, title, body, type, buttonTexts, 0});
  // The robot answers: a queued answer first, otherwise whatever its script does; with no
  // one to answer, the user takes the default button.
  const auto press = [box](int id) {
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    return true;
  };
  const auto queued = [&] {
    const auto answer = log.takeQueuedAnswer();
    return answer && press(*answer);
  };
  const auto byDefault = [&] { return press(defaultId); };
  const auto result = static_cast<int>(DialogManager::runModal(box, top, queued, byDefault));
  t_open.erase(box);
  DeleteObject(font);
  log.answered(record, result);
  return result;
}

}  // namespace plat
