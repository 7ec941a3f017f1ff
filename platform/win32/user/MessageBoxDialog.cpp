#include <win32/user/MessageBoxDialog.h>

#include <win32/user/DialogManager.h>
#include <win32/user/UserSystem.h>
#include <win32/user/input.h>
#include <win32/user/controls.h>
#include <win32/user/msgbox.h>
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

// The answers of a box, kept for its dialog procedure while the box runs.
struct BoxAnswers {
  std::vector<Button> buttons;
  bool has(int id) const {
    return std::any_of(buttons.begin(), buttons.end(), [id](const Button& b) { return b.id == id; });
  }
};

thread_local std::map<HWND, const BoxAnswers*> t_open;

INT_PTR CALLBACK boxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return TRUE;
  const auto open = t_open.find(box);
  if (message != WM_COMMAND || open == t_open.end()) return FALSE;
  const BoxAnswers& answers = *open->second;
  int id = LOWORD(wParam);
  // Escape and the close box mean Cancel; a box without Cancel takes them as its only OK.
  if (id == IDCANCEL && !answers.has(IDCANCEL)) {
    if (answers.buttons.size() != 1) return TRUE;
    id = answers.buttons.front().id;
  }
  if (answers.has(id)) DialogManager::end(box, id);
  return TRUE;
}

}  // namespace

int MessageBoxDialog::show(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  const std::string body = text ? text : "";
  const std::string title = caption ? caption : "Error";
  BoxAnswers answers{buttonsFor(type)};
  const std::size_t defaultIndex = std::min<std::size_t>((type & MB_DEFMASK) >> 8, answers.buttons.size() - 1);

  constexpr int kMargin = 12;
  constexpr int kButtonWidth = 75;
  constexpr int kButtonHeight = 23;
  constexpr int kCharWidth = 7;
  constexpr int kLineHeight = 15;
  const int lines = 1 + static_cast<int>(std::count(body.begin(), body.end(), '\n'));
  const int buttonsWidth = static_cast<int>(answers.buttons.size()) * (kButtonWidth + 6) - 6;
  const int textWidth = std::min(600, static_cast<int>(body.size()) * kCharWidth);
  const int width = std::max(textWidth, buttonsWidth) + 2 * kMargin;
  const int textHeight = lines * kLineHeight;
  const int height = kMargin + textHeight + kMargin + kButtonHeight + kMargin;

  std::vector<res::Control> controls;
  controls.push_back({"STATIC", 0xFFFF, body.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, kMargin, kMargin,
                      width - 2 * kMargin, textHeight});
  int x = (width - buttonsWidth) / 2;
  for (std::size_t i = 0; i < answers.buttons.size(); ++i) {
    const DWORD kind = i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    controls.push_back({"BUTTON", answers.buttons[i].id, answers.buttons[i].text,
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind, 0, x, height - kMargin - kButtonHeight,
                        kButtonWidth, kButtonHeight});
    x += kButtonWidth + 6;
  }
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  const res::Dialog dialog{0, title.c_str(), "", style, WS_EX_DLGMODALFRAME, 0, 0, width, height, controls.data(),
                           controls.size()};

  HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  HWND box = DialogManager::create(dialog, nullptr, top, boxProc, 0);
  if (!box) return 0;
  t_open[box] = &answers;
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
  log.answered(record, result);
  return result;
}

}  // namespace plat
