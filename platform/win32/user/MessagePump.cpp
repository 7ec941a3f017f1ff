#include <win32/user/MessagePump.h>

#include <win32/error.h>
#include <win32/thread.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/UserSystem.h>
#include <win32/user/input.h>
#include <win32/user/window.h>

#include <algorithm>
#include <climits>
#include <functional>

namespace plat {

namespace {

thread_local DWORD t_lastTime = 0;
thread_local POINT t_lastPoint{0, 0};

// The last look at the queue that found nothing: the shared tick and the arrivals it saw.
struct Look {
  std::uint64_t tick = 0;
  std::uint64_t arrivals = 0;
};
thread_local Look t_emptyLook;

// How often a thread waiting on a manual clock looks whether its timers came due; the
// clock nudges it whenever it moves (UserSystem), so this is only a safety net.
constexpr int kManualClockPollMs = 50;

// The character a key makes on a US keyboard, or 0.
int characterOf(int vk, bool shift, bool capsLock, bool control) {
  if (vk >= 'A' && vk <= 'Z') {
    if (control) return vk - 'A' + 1;
    return (shift != capsLock) ? vk : vk - 'A' + 'a';
  }
  if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : vk;
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return '0' + (vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\r';
    case VK_BACK:
      return '\b';
    case VK_TAB:
      return '\t';
    case VK_ESCAPE:
      return 0x1B;
    case VK_OEM_PERIOD:
      return shift ? '>' : '.';
    case VK_OEM_COMMA:
      return shift ? '<' : ',';
    case VK_OEM_MINUS:
      return shift ? '_' : '-';
    case VK_DECIMAL:
      return '.';
    case VK_OEM_1:
      return shift ? ':' : ';';
    case VK_OEM_5:
      return shift ? '|' : '\\';
    default:
      return 0;
  }
}

// The key or button an input message is about, and whether it went down; -1 for others.
int keyOf(const MSG& msg, bool& down) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      down = true;
      return static_cast<int>(msg.wParam & 0xFF);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      down = false;
      return static_cast<int>(msg.wParam & 0xFF);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
      down = true;
      return VK_LBUTTON;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
      down = false;
      return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
      down = true;
      return VK_RBUTTON;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
      down = false;
      return VK_RBUTTON;
    default:
      return -1;
  }
}

// The thread's key state follows the input it takes from its queue.
void takeKeyState(const MSG& msg) {
  bool down = false;
  const int vk = keyOf(msg, down);
  if (vk < 0) return;
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  ThreadState& state = system.threadState();
  const auto key = static_cast<std::size_t>(vk);
  if (down && !state.keyDown[key]) state.keyToggled.flip(key);
  state.keyDown[key] = down;
  // The left and right modifier keys count as the modifier too.
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) state.keyDown[VK_SHIFT] = down;
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) state.keyDown[VK_CONTROL] = down;
}

bool isNonClientMouse(UINT message) { return message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK; }

bool isCapturedMouse(UINT message) {
  return isNonClientMouse(message) || (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK);
}

// Mouse input goes to the window holding the capture as the thread takes it, whatever
// window was under the pointer when it came: as client messages in its coordinates.
void retargetToCapture(MSG& msg) {
  if (!isCapturedMouse(msg.message)) return;
  UserSystem& system = UserSystem::current();
  HWND capture = nullptr;
  WPARAM keys = 0;
  {
    std::lock_guard guard(system.lock());
    capture = system.threadState().capture;
    keys = system.input().mouseKeyFlags();
  }
  if (!capture || (capture == msg.hwnd && !isNonClientMouse(msg.message)) || !IsWindow(capture)) return;
  POINT client = msg.pt;
  ScreenToClient(capture, &client);
  if (isNonClientMouse(msg.message)) {
    msg.message += WM_MOUSEMOVE - WM_NCMOUSEMOVE;
    msg.wParam = keys;
  }
  msg.hwnd = capture;
  msg.lParam = MAKELPARAM(client.x, client.y);
}

}  // namespace

bool MessagePump::findPaint(const MessageFilter& filter, MSG& out) {
  UserSystem& system = UserSystem::current();
  const DWORD thread = GetCurrentThreadId();
  std::lock_guard guard(system.lock());
  std::function<HWND(HWND)> visit = [&](HWND hwnd) -> HWND {
    const auto window = system.window(hwnd);
    if (!window || !(window->style & WS_VISIBLE)) return nullptr;
    if (window->threadId == thread && window->needsPaint() && filter.accepts(hwnd, WM_PAINT)) return hwnd;
    for (HWND child : window->children)
      if (HWND found = visit(child)) return found;
    return nullptr;
  };
  for (HWND hwnd : system.windows().topLevel()) {
    if (HWND found = visit(hwnd)) {
      out = MSG{found, WM_PAINT, 0, 0, static_cast<DWORD>(system.clock().tickMs()), system.input().cursor()};
      return true;
    }
  }
  return false;
}

bool MessagePump::peek(MSG& out, const MessageFilter& filter, bool remove) {
  UserSystem& system = UserSystem::current();
  const auto queue = system.queue();
  // Read before looking, so a wait says no more than this look saw.
  const Look look{system.clock().sharedTickMs(), queue->arrivals()};
  MessageDelivery::handleSent(*queue);
  const std::uint64_t now = system.clock().tickMs();
  bool stampNow = false;
  bool found = queue->takePosted(filter, remove, out) || queue->takeQuit(filter, remove, out);
  if (!found && queue->takeInput(filter, remove, out)) {
    found = true;
    retargetToCapture(out);
    if (remove) takeKeyState(out);
  }
  if (!found) found = findPaint(filter, out);
  // A suspended PC runs no timers until it wakes.
  if (!found && !system.power().isSuspended() && queue->takeDueTimer(filter, remove, now, out))
    found = stampNow = true;
  if (!found) {
    t_emptyLook = look;
    return false;
  }
  if (stampNow) {
    std::lock_guard guard(system.lock());
    out.time = static_cast<DWORD>(now);
    out.pt = system.input().cursor();
  }
  if (remove) {
    t_lastTime = out.time;
    t_lastPoint = out.pt;
  }
  return true;
}

void MessagePump::publishWait(MessageQueue& queue) {
  Clock& clock = UserSystem::current().clock();
  std::optional<std::uint64_t> next = queue.nextTimerDue();
  // Timers are due in the thread's own view, which its sleeps moved past the shared time.
  if (next) next = *next - std::min<std::uint64_t>(*next, static_cast<std::uint64_t>(clock.ownSleepMs()));
  queue.waits(t_emptyLook.tick, next, t_emptyLook.arrivals);
}

int MessagePump::waitTimeout(MessageQueue& queue) {
  const auto due = queue.nextTimerDue();
  if (!due) return -1;
  Clock& clock = UserSystem::current().clock();
  if (clock.isManual()) return kManualClockPollMs;
  const std::uint64_t now = clock.tickMs();
  return *due <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(*due - now, INT_MAX));
}

void MessagePump::idle(MessageQueue& queue, const std::function<bool()>& fallback) {
  int timeout = waitTimeout(queue);
  int wanted = -1;
  if (const auto hook = UserSystem::current().idleHook(GetCurrentThreadId())) {
    wanted = hook();
    if (wanted == 0) return;
    if (wanted > 0) timeout = timeout < 0 ? wanted : std::min(timeout, wanted);
  }
  if (wanted < 0 && fallback && fallback()) return;
  publishWait(queue);
  queue.wait(timeout);
}

bool MessagePump::get(MSG& out, const MessageFilter& filter) {
  const auto queue = UserSystem::current().queue();
  while (true) {
    queue->clearWake();
    if (peek(out, filter, true)) return out.message != WM_QUIT;
    idle(*queue);
  }
}

void MessagePump::waitForMessage() {
  const auto queue = UserSystem::current().queue();
  queue->clearWake();
  MSG msg;
  if (peek(msg, MessageFilter{}, false)) return;
  idle(*queue);
}

LRESULT MessagePump::dispatch(const MSG& msg) {
  UserSystem& system = UserSystem::current();
  if (msg.message == WM_TIMER && msg.lParam) {
    const auto proc = reinterpret_cast<TIMERPROC>(msg.lParam);
    proc(msg.hwnd, WM_TIMER, msg.wParam, static_cast<DWORD>(system.clock().tickMs()));
    return 0;
  }
  if (!msg.hwnd) return 0;
  WNDPROC proc = nullptr;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(msg.hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    if (window->threadId != GetCurrentThreadId()) return 0;
    proc = window->proc;
  }
  return proc ? proc(msg.hwnd, msg.message, msg.wParam, msg.lParam) : 0;
}

bool MessagePump::translate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  UserSystem& system = UserSystem::current();
  int character = 0;
  {
    std::lock_guard guard(system.lock());
    const ThreadState& keys = system.threadState();
    character = characterOf(static_cast<int>(msg.wParam), keys.keyDown[VK_SHIFT], keys.keyToggled[VK_CAPITAL],
                            keys.keyDown[VK_CONTROL]);
  }
  if (character) {
    const UINT message = msg.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    MessageDelivery::post(msg.hwnd, message, static_cast<WPARAM>(character), msg.lParam);
  }
  return true;
}

DWORD MessagePump::lastMessageTime() { return t_lastTime; }

POINT MessagePump::lastMessagePoint() { return t_lastPoint; }

}  // namespace plat
