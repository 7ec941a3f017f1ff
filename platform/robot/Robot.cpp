#include <robot/Robot.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <strings.h>

#include <dshow/uuids.h>
#include <machine/Machine.h>
#include <machine/CaptureCard.h>
#include <machine/StreamActivity.h>
#include <machine/RemoteControl.h>
#include <win32/commdlg/FileDialog.h>
#include <win32/shell/PowerBroadcast.h>
#include <win32/shell/dropfiles.h>
#include <win32/user/WindowDirectory.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <mfc/wnd/CWinThread.h>
#include <mfc/wnd/CWnd.h>
#include <win32/thread.h>
#include <win32/user/FocusManager.h>
#include <win32/user/HitTest.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/DeviceNotifications.h>
#include <win32/user/UserSystem.h>

namespace plat {

namespace {

// The mouse messages of each button: down, up, double click, and the non-client down.
struct ButtonMessages {
  UINT down, up, doubleClick, ncDown, ncUp, vk;
};

ButtonMessages messagesOf(UINT button) {
  if (button == VK_RBUTTON)
    return {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, VK_RBUTTON};
  return {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, VK_LBUTTON};
}

POINT centerOf(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  POINT pt{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
  ClientToScreen(hwnd, &pt);
  return pt;
}

bool wantsDoubleClicks(HWND hwnd) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hwnd);
  return window && (window->windowClass->style & CS_DBLCLKS);
}

// The key a character is typed with on a US keyboard, and whether it needs Shift.
bool keyOf(char c, int& vk, bool& shift) {
  shift = c >= 'A' && c <= 'Z';
  if (c >= 'a' && c <= 'z') {
    vk = c - 'a' + 'A';
  } else if (shift || (c >= '0' && c <= '9')) {
    vk = c;
  } else if (c == ' ') {
    vk = VK_SPACE;
  } else if (c == '\n') {
    vk = VK_RETURN;
  } else if (c == '\t') {
    vk = VK_TAB;
  } else if (c == '.' || c == ',' || c == '-') {
    vk = c == '.' ? VK_OEM_PERIOD : c == ',' ? VK_OEM_COMMA : VK_OEM_MINUS;
  } else if (c == '\\' || c == ':' || c == ';') {
    vk = c == '\\' ? VK_OEM_5 : VK_OEM_1;
    shift = c == ':';
  } else {
    return false;
  }
  return true;
}

}  // namespace

Robot::Robot(bool pumpAfterInput) : m_pumpAfterInput(pumpAfterInput) {}

void Robot::duringModal(std::function<void(Robot&)> action) {
  if (!m_modalActions) m_modalActions = std::make_shared<std::deque<std::function<void(Robot&)>>>();
  const bool idle = m_modalActions->empty();
  m_modalActions->push_back(std::move(action));
  if (!idle) return;
  const DWORD thread = GetCurrentThreadId();
  UserSystem::current().setIdleHook(thread, [actions = m_modalActions, thread]() -> int {
    if (actions->empty()) {
      UserSystem::current().setIdleHook(thread, nullptr);
      return -1;
    }
    auto action = std::move(actions->front());
    actions->pop_front();
    Robot inner(false);
    action(inner);
    return 0;
  });
}

HWND Robot::openMenu() const {
  HWND menu = FindWindowA(POPUPMENU_CLASS, nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

POINT Robot::menuItem(int position) const {
  HWND window = openMenu();
  RECT rect{};
  if (window) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    GetMenuItemRect(window, menu, static_cast<UINT>(position), &rect);
  }
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool Robot::chooseMenuCommand(UINT id) {
  HWND window = openMenu();
  if (!window) return false;
  const auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (GetMenuItemID(menu, i) == id) {
      click(menuItem(i));
      return true;
    }
  }
  return false;
}

int Robot::pumpUntilIdle() {
  int count = 0;
  MSG msg;
  while (!m_quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ++count;
    if (msg.message == WM_QUIT) {
      m_quit = true;
      m_quitCode = static_cast<int>(msg.wParam);
      break;
    }
    // As the program's own loop would: MFC windows see the message first.
    CWinThread* thread = AfxGetThread();
    const BOOL taken = thread ? thread->PreTranslateMessage(&msg) : CWnd::WalkPreTranslateTree(nullptr, &msg);
    if (!taken) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // Idle, as the program's loop would be: its temporary MFC objects go.
  if (!m_quit) AfxIdleTempMaps();
  return count;
}

void Robot::settle() {
  UserSystem& system = UserSystem::current();
  ClockFollowers& followers = system.followers();
  StreamActivity& streams = StreamActivity::instance();
  const std::uint64_t tick = system.clock().sharedTickMs();
  const auto queue = system.queue();
  const auto limit = std::chrono::steady_clock::now() + ClockFollowers::kHangLimit;
  std::string laggard;
  // Sends from the programs are served meanwhile: handling what is due may need this thread.
  // This process's streaming threads and the other programs are taken as settled only when
  // the streams did not change while the programs were looked at.
  // Sends are looked for at least every millisecond meanwhile.
  constexpr auto kLookForSends = std::chrono::milliseconds(1);
  while (true) {
    queue->clearWake();
    MessageDelivery::handleSent(*queue);
    const std::uint64_t seen = streams.version();
    const std::uint32_t seenElsewhere = followers.changes();
    const bool streamsSettled = streams.settledAt(tick);
    if (streamsSettled && followers.othersSettled(tick, &laggard) && streams.version() == seen) return;
    if (std::chrono::steady_clock::now() > limit) break;
    if (!streamsSettled) {
      streams.awaitChange(seen, kLookForSends);
      laggard = "this process's streaming threads";
    } else {
      followers.awaitChange(seenElsewhere, kLookForSends);
    }
  }
  if (!streams.settledAt(tick)) {
    streams.giveUpOnBusy("the clock stands at tick " + std::to_string(tick));
    return;
  }
  std::fprintf(stderr, "robot: the clock stands at tick %llu, but after %lld s %s has not handled it; no longer waiting for it\n",
               static_cast<unsigned long long>(tick), static_cast<long long>(ClockFollowers::kHangLimit.count()),
               laggard.c_str());
  std::fflush(stderr);
  followers.giveUpOn(tick);
}

std::uint64_t Robot::advanceStep(std::uint64_t ms) {
  UserSystem& system = UserSystem::current();
  Clock& clock = system.clock();
  // The other programs' next timers are known once they have handled the present.
  settle();
  const std::uint64_t now = clock.tickMs();
  const auto due = system.queue()->nextTimerDue();
  std::uint64_t step = ms;
  if (due && *due > now && *due - now < step) step = *due - now;
  // A suspended PC wakes at its wake-up time, not after it; until then no timer fires.
  PowerBroadcast::wakeIfDue();
  const std::uint64_t shared = clock.sharedTickMs();
  const auto elsewhere = system.followers().nextDueElsewhere(shared);
  if (elsewhere && !system.power().isSuspended() && *elsewhere - shared < step) step = *elsewhere - shared;
  // Every time a streaming thread waits for is a step of its own, so each sample is
  // handled at its time.
  const auto streaming = StreamActivity::instance().nextDue();
  if (streaming && *streaming > shared && *streaming - shared < step) step = *streaming - shared;
  step = std::max<std::uint64_t>(1, std::min(step, PowerBroadcast::stepBeforeWake(step)));
  clock.advance(step);
  PowerBroadcast::wakeIfDue();
  settle();
  return step;
}

void Robot::advance(std::uint64_t ms) {
  pumpUntilIdle();
  while (ms > 0 && !m_quit) {
    ms -= advanceStep(ms);
    pumpUntilIdle();
  }
}

HWND Robot::findWindow(const char* className, const char* title) const { return FindWindowA(className, title); }

HWND Robot::control(HWND dialog, int id) const { return GetDlgItem(dialog, id); }

std::vector<std::string> Robot::notices() const {
  std::vector<HWND> topLevel;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    topLevel = system.windows().topLevel();
  }
  std::vector<std::string> found;
  for (HWND hwnd : topLevel) {
    const auto style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
    char className[64] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (!(style & WS_VISIBLE) || !(style & WS_POPUP) || (style & WS_CAPTION) == WS_CAPTION) continue;
    if (!(exStyle & WS_EX_TOPMOST) || std::string(className) == TOOLTIPS_CLASSA) continue;
    if (std::string said = text(hwnd); !said.empty()) found.push_back(std::move(said));
  }
  return found;
}

std::string Robot::text(HWND hwnd) const {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

HWND Robot::mouseTarget(POINT screen, LRESULT& hit) const {
  if (HWND capture = GetCapture()) {
    hit = HTCLIENT;
    return capture;
  }
  const HitTest::Result found = HitTest::at(screen);
  hit = found.code;
  return found.hwnd;
}

void Robot::postInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
  // Input over no window goes to the foreground thread addressed to no window: only a
  // window holding the capture gets it there.
  HWND owner = target ? target : GetForegroundWindow();
  UserSystem& system = UserSystem::current();
  const auto queue = owner ? system.queueOf(GetWindowThreadProcessId(owner, nullptr)) : system.queue();
  if (queue) queue->postInput(MessageDelivery::stamped(target, message, wParam, lParam));
}

void Robot::postMouse(HWND target, LRESULT hit, UINT clientMessage, POINT screen) {
  if (hit == HTCLIENT || !target) {
    POINT client = screen;
    ScreenToClient(target, &client);
    WPARAM keys = 0;
    {
      UserSystem& system = UserSystem::current();
      std::lock_guard guard(system.lock());
      keys = system.input().mouseKeyFlags();
    }
    postInput(target, clientMessage, keys, MAKELPARAM(client.x, client.y));
  } else {
    // The non-client messages sit 0x160 below their client twins.
    postInput(target, clientMessage - (WM_MOUSEMOVE - WM_NCMOUSEMOVE), static_cast<WPARAM>(hit),
              MAKELPARAM(screen.x, screen.y));
  }
}

void Robot::afterInput() {
  if (m_pumpAfterInput) pumpUntilIdle();
}

void Robot::pointTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  LRESULT hit = HTNOWHERE;
  HWND target = mouseTarget(screen, hit);
  if (target)
    MessageDelivery::send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, WM_MOUSEMOVE));
  postMouse(target, hit, WM_MOUSEMOVE, screen);
}

void Robot::moveTo(POINT screen) {
  pointTo(screen);
  afterInput();
}

void Robot::buttonDown(POINT screen, UINT button, bool doubleClick) {
  const ButtonMessages m = messagesOf(button);
  SetCursorPos(screen.x, screen.y);
  LRESULT hit = HTNOWHERE;
  HWND target = mouseTarget(screen, hit);
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    system.input().press(static_cast<int>(m.vk));
  }
  if (!target) return;
  bool eaten = false;
  HWND top = GetAncestor(target, GA_ROOT);
  if (!GetCapture() && top && top != GetActiveWindow()) {
    const LRESULT answer =
        MessageDelivery::send(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(hit, m.down));
    if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) FocusManager::activate(top, true);
    eaten = answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
  }
  MessageDelivery::send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, m.down));
  if (eaten) return;
  const UINT message = doubleClick && hit == HTCLIENT && wantsDoubleClicks(target) ? m.doubleClick : m.down;
  postMouse(target, hit, message, screen);
}

void Robot::buttonUp(POINT screen, UINT button) {
  const ButtonMessages m = messagesOf(button);
  LRESULT hit = HTNOWHERE;
  HWND target = mouseTarget(screen, hit);
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    system.input().release(static_cast<int>(m.vk));
  }
  postMouse(target, hit, m.up, screen);
}

// A click's down and up are given together: a down that starts a modal loop (the caption's
// move loop) finds its up waiting.
void Robot::click(POINT screen) {
  buttonDown(screen, VK_LBUTTON, false);
  buttonUp(screen, VK_LBUTTON);
  afterInput();
}

void Robot::click(HWND hwnd) { click(centerOf(hwnd)); }

void Robot::doubleClick(POINT screen) {
  click(screen);
  buttonDown(screen, VK_LBUTTON, true);
  buttonUp(screen, VK_LBUTTON);
  afterInput();
}

void Robot::doubleClick(HWND hwnd) { doubleClick(centerOf(hwnd)); }

void Robot::rightClick(POINT screen) {
  buttonDown(screen, VK_RBUTTON, false);
  buttonUp(screen, VK_RBUTTON);
  afterInput();
}

void Robot::drag(POINT from, POINT to) {
  buttonDown(from, VK_LBUTTON, false);
  pointTo(to);
  buttonUp(to, VK_LBUTTON);
  afterInput();
}

void Robot::wheel(int delta) {
  POINT at{};
  GetCursorPos(&at);
  WPARAM keys = 0;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    keys = system.input().mouseKeyFlags();
  }
  HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
  postInput(target, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta)), MAKELPARAM(at.x, at.y));
  afterInput();
}

void Robot::press(int vk) {
  bool alt = false;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    system.input().press(vk);
    alt = system.input().isDown(VK_MENU);
  }
  // With no window to take it, the key still reaches the thread, which keeps its state.
  HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
  // A key goes down with a repeat count of one; held with Alt it is a system key, and F10
  // (the menu key) is one on its own.
  const bool system = alt || vk == VK_F10;
  postInput(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), alt ? 0x20000001 : 1);
  afterInput();
}

void Robot::release(int vk) {
  bool alt = false;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    system.input().release(vk);
    alt = system.input().isDown(VK_MENU);
  }
  HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
  const bool system = alt || vk == VK_F10;
  postInput(target, system ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), alt ? 0xE0000001 : 0xC0000001);
  afterInput();
}

void Robot::key(int vk) {
  press(vk);
  release(vk);
}

bool Robot::type(const std::string& text) {
  for (const char c : text) {
    int vk = 0;
    bool shift = false;
    if (!keyOf(c, vk, shift)) return false;
    if (shift) press(VK_SHIFT);
    key(vk);
    if (shift) release(VK_SHIFT);
  }
  return true;
}

void Robot::answerNextMessageBox(int answer) { UserSystem::current().messageBoxes().queueAnswer(answer); }

bool Robot::dropFiles(const std::vector<std::string>& paths, POINT screen) {
  HWND target = WindowFromPoint(screen);
  while (target && !(GetWindowLongA(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) target = GetParent(target);
  if (!target) return false;
  POINT client = screen;
  ScreenToClient(target, &client);
  HDROP drop = MakeDropFiles(paths, client);
  if (!drop) return false;
  PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  pumpUntilIdle();
  return true;
}

std::vector<MessageBoxRecord> Robot::messageBoxes() const { return UserSystem::current().messageBoxes().records(); }

void Robot::answerNextFileDialog(const std::string& name) { FileDialogLog::current().queueAnswer({false, name}); }

void Robot::cancelNextFileDialog() { FileDialogLog::current().queueAnswer({true, std::string()}); }

bool Robot::pickFileDialogEntry(HWND dialog, const std::string& entry) {
  HWND list = GetDlgItem(dialog, FileDialog::kListId);
  const int count = list ? static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)) : 0;
  for (int i = 0; i < count; ++i) {
    char text[MAX_PATH] = {};
    if (SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= static_cast<LRESULT>(sizeof text)) continue;
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    if (strcasecmp(text, entry.c_str()) != 0) continue;
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(i), 0);
    RECT rect{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
    POINT pt{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &pt);
    doubleClick(pt);
    return true;
  }
  return false;
}

bool Robot::chooseFileDialogType(HWND dialog, int type) {
  HWND types = GetDlgItem(dialog, FileDialog::kTypeId);
  if (!types || type < 1 || type > static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0))) return false;
  SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(type - 1), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(FileDialog::kTypeId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
  afterInput();
  return true;
}

std::vector<FileDialogRecord> Robot::fileDialogs() const { return FileDialogLog::current().records(); }

}  // namespace plat

namespace plat {

void Robot::plugTvStick(bool plugged) {
  TvStickCapture& stick = Machine::current().service<TvStickCapture>();
  stick.control().setPlugged(plugged);
  DeviceNotifications::instance().announce(plugged, AM_KSCATEGORY_CAPTURE, stick.devicePath());
  afterInput();
}

void Robot::holdCardRemote(int code) { Machine::current().service<CaptureCard>().setRemoteCode(code); }

void Robot::pressRemoteKey(int key, int polls) {
  Machine::current().service<RemoteControl>().press(key, polls);
}

void Robot::pressSleepButton() {
  PowerBroadcast::suspend();
  afterInput();
}

bool Robot::pressPowerButton() {
  const bool woke = PowerBroadcast::resume("power button");
  afterInput();
  return woke;
}

std::vector<TrayArea::Icon> Robot::trayIcons() const { return Machine::current().service<TrayArea>().icons(); }

bool Robot::clickTrayIcon(const TrayArea::Icon& icon, UINT mouseMessage) {
  if (!Machine::current().service<TrayArea>().find(icon.window, icon.id) || !icon.callbackMessage) return false;
  const HWND owner = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(icon.window));
  // The notification area sits at the bottom right of the screen.
  moveTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 30, GetSystemMetrics(SM_CYSCREEN) - 10});
  PostMessageA(owner, icon.callbackMessage, icon.id, static_cast<LPARAM>(mouseMessage));
  afterInput();
  return true;
}

void Robot::restartShell() {
  TrayArea& tray = Machine::current().service<TrayArea>();
  tray.setShellRunning(false);
  tray.setShellRunning(true);
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  UserSystem& system = UserSystem::current();
  std::vector<HWND> windows;
  {
    std::lock_guard guard(system.lock());
    windows = system.windows().topLevel();
  }
  for (const WindowDirectory::Entry& entry : system.directory().otherWindows()) windows.push_back(entry.hwnd);
  for (HWND hwnd : windows) PostMessageA(hwnd, taskbarCreated, 0, 0);
  afterInput();
}

void Robot::showOnComposite(const std::string& source) {
  std::optional<Scene> scene;
  if (!source.empty()) scene = Scene{Scene::Kind::External, 0, source, "PAL_B", 0.0};
  Machine::current().service<TvStickCapture>().setExternalSource(TvStickCapture::Input::Composite, scene);
}

}  // namespace plat
