#include <robot/RobotScript.h>

#include <machine/Machine.h>
#include <machine/PowerState.h>
#include <robot/Screenshot.h>
#include <win32/thread.h>
#include <win32/user/UserSystem.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace plat {

namespace {

// How long the script waits for a window to come, and for the program to end after its
// last verb, in real time: the other programs involved run on real time.
constexpr auto kWindowPatience = std::chrono::seconds(10);
constexpr auto kEndPatience = std::chrono::seconds(10);
constexpr int kPollMs = 5;
// How much of a manual clock's time a control may take to be enabled.
constexpr std::uint64_t kEnabledPatienceMs = 10 * 60 * 1000;
constexpr int kStatusFailed = 3;
constexpr int kStatusEndedEarly = 4;
constexpr int kStatusStillRunning = 5;

std::unique_ptr<RobotScript> g_running;

struct Shape {
  std::size_t least;
  std::size_t most;
};

const std::map<std::string, Shape>& verbShapes() {
  static const std::map<std::string, Shape> shapes = {
      {"clock", {1, 3}},         {"wait", {1, 1}},        {"window", {2, 2}},         {"expect-window", {2, 2}},
      {"expect-no-window", {2, 2}}, {"click", {0, 1}},    {"doubleclick", {0, 1}},    {"clickat", {2, 2}}, {"doubleclickat", {2, 2}}, {"drag", {4, 4}},
      {"move", {2, 2}},          {"key", {1, 1}},         {"type", {1, 1}},           {"answer", {1, 1}},
      {"expect-text", {2, 2}},   {"expect-messagebox", {1, 1}}, {"post", {1, 3}},     {"send", {1, 3}},
      {"close", {0, 0}},         {"log", {1, 1}},         {"plug", {0, 0}},           {"unplug", {0, 0}},
      {"composite", {1, 1}},     {"screenshot", {1, 1}},  {"expect-notice", {1, 1}},
      {"menu", {1, 1}},
      {"card-remote", {1, 1}},  {"remote", {1, 2}},        {"sleep-button", {0, 0}},   {"power-button", {0, 0}},
      {"expect-power", {1, 1}},
      {"file-answer", {1, 1}},   {"file-cancel", {0, 0}}, {"file-pick", {1, 1}},      {"file-type", {1, 1}},
      {"wait-enabled", {1, 1}},
  };
  return shapes;
}

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
    } else if (line[i] == '#') {
      break;
    } else if (line[i] == '"') {
      std::string text;
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        text += line[i];
      }
      if (i == line.size()) throw std::runtime_error("unterminated text");
      ++i;
      out.push_back(text);
    } else {
      const std::size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
      out.push_back(line.substr(start, i - start));
    }
  }
  return out;
}

std::optional<long> number(const std::string& text) {
  try {
    std::size_t used = 0;
    const long value = std::stol(text, &used, 0);
    if (used == text.size()) return value;
  } catch (...) {
  }
  return std::nullopt;
}

std::optional<int> keyCode(const std::string& name) {
  static const std::map<std::string, int> keys = {
      {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE}, {"TAB", VK_TAB},
      {"SPACE", VK_SPACE},   {"BACK", VK_BACK},     {"BACKSPACE", VK_BACK}, {"DELETE", VK_DELETE}, {"UP", VK_UP},
      {"DOWN", VK_DOWN},     {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},    {"PRIOR", VK_PRIOR},   {"PAGEUP", VK_PRIOR},
      {"NEXT", VK_NEXT},     {"PAGEDOWN", VK_NEXT}, {"HOME", VK_HOME},      {"END", VK_END},       {"SHIFT", VK_SHIFT},
      {"CONTROL", VK_CONTROL}, {"CTRL", VK_CONTROL}, {"ALT", VK_MENU},    {"MENU", VK_MENU},
  };
  if (const auto it = keys.find(name); it != keys.end()) return it->second;
  if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) return name[0];
  if (name.size() >= 2 && name[0] == 'F') {
    if (const auto n = number(name.substr(1)); n && *n >= 1 && *n <= 12) return VK_F1 + static_cast<int>(*n) - 1;
  }
  if (const auto n = number(name)) return static_cast<int>(*n);
  return std::nullopt;
}

std::optional<int> answerCode(const std::string& name) {
  static const std::map<std::string, int> answers = {{"OK", IDOK},       {"CANCEL", IDCANCEL}, {"ABORT", IDABORT},
                                                     {"RETRY", IDRETRY}, {"IGNORE", IDIGNORE}, {"YES", IDYES},
                                                     {"NO", IDNO}};
  if (const auto it = answers.find(name); it != answers.end()) return it->second;
  if (const auto n = number(name)) return static_cast<int>(*n);
  return std::nullopt;
}

const char* classArgument(const std::string& text) { return text == "*" ? nullptr : text.c_str(); }

std::int64_t realNowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

RobotScript::RobotScript(const std::string& text, std::string name) : m_name(std::move(name)) {
  std::istringstream in(text);
  int line = 0;
  for (std::string content; std::getline(in, content);) {
    ++line;
    if (!content.empty() && content.back() == '\r') content.pop_back();
    std::vector<std::string> parts;
    try {
      parts = words(content);
    } catch (const std::exception& e) {
      throw std::runtime_error(m_name + ":" + std::to_string(line) + ": " + e.what());
    }
    if (parts.empty()) continue;
    const auto shape = verbShapes().find(parts[0]);
    if (shape == verbShapes().end())
      throw std::runtime_error(m_name + ":" + std::to_string(line) + ": unknown verb '" + parts[0] + "'");
    const std::size_t count = parts.size() - 1;
    if (count < shape->second.least || count > shape->second.most)
      throw std::runtime_error(m_name + ":" + std::to_string(line) + ": wrong number of values for '" + parts[0] + "'");
    m_verbs.push_back(Verb{line, parts[0], std::vector<std::string>(parts.begin() + 1, parts.end())});
  }
}

void RobotScript::startFromEnvironment() {
  const char* file = std::getenv("ORVANE_ROBOT");
  if (!file || !*file) return;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "robot: cannot read the script %s\n", file);
    std::fflush(stderr);
    std::_Exit(kStatusFailed);
  }
  std::ostringstream text;
  text << in.rdbuf();
  try {
    g_running = std::make_unique<RobotScript>(text.str(), file);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "robot: %s\n", e.what());
    std::fflush(stderr);
    std::_Exit(kStatusFailed);
  }
  RobotScript* script = g_running.get();
  // The clock is set before the program starts, so every timer it makes runs on it.
  while (const Verb* verb = script->current()) {
    if (verb->name != "clock") break;
    script->step();
  }
  UserSystem::current().setIdleHook(GetCurrentThreadId(), [script] { return script->step(); });
}

int RobotScript::finish(int exitCode) {
  if (!g_running) return exitCode;
  UserSystem::current().setIdleHook(GetCurrentThreadId(), nullptr);
  const Verb* pending = g_running->current();
  int status = exitCode;
  if (pending) {
    std::fprintf(stderr, "robot: %s:%d: the program ended before '%s'\n", g_running->m_name.c_str(), pending->line,
                 pending->name.c_str());
    status = kStatusEndedEarly;
  }
  g_running.reset();
  return status;
}

void RobotScript::fail(const Verb& verb, const std::string& what) {
  const std::string message = m_name + ":" + std::to_string(verb.line) + ": " + verb.name + ": " + what;
  m_next = m_verbs.size();
  m_deadline.reset();
  if (m_onFailure) {
    m_onFailure(message);
    return;
  }
  std::fprintf(stderr, "robot: %s\n", message.c_str());
  std::fflush(stderr);
  std::_Exit(verb.name == "(end)" ? kStatusStillRunning : kStatusFailed);
}

int RobotScript::done() {
  if (m_onFailure) return -1;
  const std::int64_t now = realNowMs();
  if (!m_deadline) m_deadline = now + std::chrono::milliseconds(kEndPatience).count();
  if (now > *m_deadline) {
    const Verb end{m_verbs.empty() ? 0 : m_verbs.back().line, "(end)", {}};
    fail(end, "the script ended while the program was still running");
    return -1;
  }
  return 200;
}

int RobotScript::step() {
  if (finished()) return done();
  // On a manual clock each verb finds every program and streaming thread done with the
  // present, so what it sees or does never depends on how fast they ran.
  if (UserSystem::current().clock().isManual()) m_robot.settle();
  return run(m_verbs[m_next]);
}

HWND RobotScript::currentWindow(const Verb& verb) {
  if (!m_window || !IsWindow(m_window)) {
    fail(verb, "no window: name one with 'window' first");
    return nullptr;
  }
  return m_window;
}

HWND RobotScript::controlOf(const Verb& verb, std::size_t arg) {
  HWND window = currentWindow(verb);
  if (!window || verb.args.size() <= arg) return window;
  const auto id = number(verb.args[arg]);
  if (!id) {
    fail(verb, "'" + verb.args[arg] + "' is no control id");
    return nullptr;
  }
  if (*id == 0) return window;
  HWND control = m_robot.control(window, static_cast<int>(*id));
  if (!control) fail(verb, "no control " + verb.args[arg] + " in the window");
  return control;
}

int RobotScript::waitFor(const Verb& verb) {
  const auto ms = number(verb.args[0]);
  if (!ms || *ms < 0) {
    fail(verb, "'" + verb.args[0] + "' is no time in milliseconds");
    return 0;
  }
  Clock& clock = UserSystem::current().clock();
  if (!clock.isManual()) {
    const std::int64_t now = realNowMs();
    if (!m_deadline) m_deadline = now + *ms;
    if (now < *m_deadline) return static_cast<int>(*m_deadline - now);
    m_deadline.reset();
    ++m_next;
    return 0;
  }
  // One timer at a time, so the program's loop handles each before time moves on.
  if (!m_waitLeft) m_waitLeft = static_cast<std::uint64_t>(*ms);
  if (*m_waitLeft > 0) *m_waitLeft -= m_robot.advanceStep(*m_waitLeft);
  if (*m_waitLeft == 0) {
    m_waitLeft.reset();
    ++m_next;
  }
  return 0;
}

int RobotScript::waitForWindow(const Verb& verb, bool present) {
  HWND found = m_robot.findWindow(classArgument(verb.args[0]), verb.args[1].c_str());
  const bool done = (found != nullptr) == present;
  if (done && found) m_window = found;
  return keepWaiting(verb, done, present ? "no such window came" : "the window did not go");
}

// A control the program enables once a piece of work of its own (a worker thread's) is
// over. On a manual clock that work runs on the machine's time, which moves on a step at a
// time until then; on a real clock it is waited for in real time, as a window is.
int RobotScript::waitForEnabled(const Verb& verb) {
  HWND control = controlOf(verb, 0);
  if (!control) return 0;
  const bool enabled = IsWindowEnabled(control) != FALSE;
  if (enabled || !UserSystem::current().clock().isManual()) {
    m_waitLeft.reset();
    return keepWaiting(verb, enabled, "the control stayed disabled");
  }
  if (!m_waitLeft) m_waitLeft = kEnabledPatienceMs;
  if (*m_waitLeft == 0) {
    m_waitLeft.reset();
    fail(verb, "the control stayed disabled");
    return 0;
  }
  *m_waitLeft -= m_robot.advanceStep(*m_waitLeft);
  return 0;
}

int RobotScript::keepWaiting(const Verb& verb, bool done, const std::string& failure) {
  if (done) {
    m_deadline.reset();
    ++m_next;
    return 0;
  }
  const std::int64_t now = realNowMs();
  if (!m_deadline) m_deadline = now + std::chrono::milliseconds(kWindowPatience).count();
  if (now > *m_deadline) {
    fail(verb, failure);
    return 0;
  }
  return kPollMs;
}

void RobotScript::remoteKey(const Verb& verb) {
  const auto key = number(verb.args[0]);
  const auto polls = verb.args.size() > 1 ? number(verb.args[1]) : std::optional<long>(1);
  if (!key || *key < 0 || *key > 255) {
    fail(verb, "'" + verb.args[0] + "' is no remote key");
  } else if (!polls || *polls < 1) {
    fail(verb, "'" + verb.args[1] + "' is no number of polls");
  } else {
    m_robot.pressRemoteKey(static_cast<int>(*key), static_cast<int>(*polls));
  }
}

void RobotScript::expectPower(const Verb& verb) {
  const PowerState& power = Machine::current().service<PowerState>();
  const std::string state = power.isOff() ? "off" : power.isSuspended() ? "standby" : "on";
  if (verb.args[0] != "on" && verb.args[0] != "standby" && verb.args[0] != "off")
    fail(verb, "'" + verb.args[0] + "' is not on, standby or off");
  else if (state != verb.args[0])
    fail(verb, "the PC is " + state);
}

void RobotScript::expectText(const Verb& verb) {
  HWND control = controlOf(verb, 0);
  if (!control) return;
  const std::string text = m_robot.text(control);
  if (text != verb.args[1]) fail(verb, "the text is \"" + text + "\", not \"" + verb.args[1] + "\"");
}

int RobotScript::run(const Verb& verb) {
  const std::string& name = verb.name;
  if (name == "wait") return waitFor(verb);
  if (name == "window") return waitForWindow(verb, true);
  if (name == "expect-no-window") return waitForWindow(verb, false);
  if (name == "wait-enabled") return waitForEnabled(verb);

  const std::size_t before = m_next;
  if (name == "clock") {
    if (verb.args[0] != "manual") {
      fail(verb, "only 'clock manual [date time]' is known");
      return 0;
    }
    Clock& clock = UserSystem::current().clock();
    std::int64_t unixMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    if (verb.args.size() == 3) {
      std::tm local{};
      std::istringstream in(verb.args[1] + " " + verb.args[2]);
      in >> std::get_time(&local, "%Y-%m-%d %H:%M:%S");
      if (in.fail()) {
        fail(verb, "the time is not written as 2024-03-01 12:00:00");
        return 0;
      }
      unixMs = clock.fromLocal(local) * 1000;
    }
    clock.setManual(unixMs);
  } else if (name == "expect-window") {
    if (!m_robot.findWindow(classArgument(verb.args[0]), verb.args[1].c_str())) fail(verb, "no such window");
  } else if (name == "click" || name == "doubleclick") {
    HWND target = controlOf(verb, 0);
    if (target && name == "click") m_robot.click(target);
    if (target && name == "doubleclick") m_robot.doubleClick(target);
  } else if (name == "clickat" || name == "doubleclickat" || name == "move") {
    HWND window = currentWindow(verb);
    const auto x = number(verb.args[0]);
    const auto y = number(verb.args[1]);
    if (window && (!x || !y)) fail(verb, "the point is not two numbers");
    if (window && x && y) {
      POINT pt{static_cast<LONG>(*x), static_cast<LONG>(*y)};
      ClientToScreen(window, &pt);
      if (name == "clickat") m_robot.click(pt);
      else if (name == "doubleclickat") m_robot.doubleClick(pt);
      else m_robot.moveTo(pt);
    }
  } else if (name == "drag") {
    HWND window = currentWindow(verb);
    std::vector<LONG> values;
    for (const std::string& arg : verb.args)
      if (const auto n = number(arg)) values.push_back(static_cast<LONG>(*n));
    if (window && values.size() != 4) fail(verb, "the points are not four numbers");
    if (window && values.size() == 4) {
      POINT from{values[0], values[1]};
      POINT to{values[2], values[3]};
      ClientToScreen(window, &from);
      ClientToScreen(window, &to);
      m_robot.drag(from, to);
    }
  } else if (name == "key") {
    // "CTRL+T", "ALT+ENTER": the modifiers are held down around the key.
    std::vector<int> held;
    std::string rest = verb.args[0];
    for (std::size_t plus = rest.find('+'); plus != std::string::npos && plus + 1 < rest.size(); plus = rest.find('+')) {
      const auto modifier = keyCode(rest.substr(0, plus));
      if (!modifier) break;
      held.push_back(*modifier);
      rest = rest.substr(plus + 1);
    }
    const auto vk = keyCode(rest);
    if (!vk) {
      fail(verb, "unknown key '" + verb.args[0] + "'");
    } else {
      for (int modifier : held) m_robot.press(modifier);
      m_robot.key(*vk);
      for (auto it = held.rbegin(); it != held.rend(); ++it) m_robot.release(*it);
    }
  } else if (name == "type") {
    if (!m_robot.type(verb.args[0])) fail(verb, "the text has characters no key types");
  } else if (name == "answer") {
    const auto answer = answerCode(verb.args[0]);
    if (answer) m_robot.answerNextMessageBox(*answer);
    else fail(verb, "unknown answer '" + verb.args[0] + "'");
  } else if (name == "file-answer") {
    m_robot.answerNextFileDialog(verb.args[0]);
  } else if (name == "file-cancel") {
    m_robot.cancelNextFileDialog();
  } else if (name == "file-pick") {
    HWND dialog = currentWindow(verb);
    if (dialog && !m_robot.pickFileDialogEntry(dialog, verb.args[0]))
      fail(verb, "the window lists no entry \"" + verb.args[0] + "\"");
  } else if (name == "file-type") {
    HWND dialog = currentWindow(verb);
    const auto type = number(verb.args[0]);
    if (dialog && (!type || !m_robot.chooseFileDialogType(dialog, static_cast<int>(*type))))
      fail(verb, "the window has no file type " + verb.args[0]);
  } else if (name == "menu") {
    char* end = nullptr;
    const unsigned long id = std::strtoul(verb.args[0].c_str(), &end, 0);
    if (!end || *end || !m_robot.chooseMenuCommand(static_cast<UINT>(id)))
      fail(verb, "no open menu has the command " + verb.args[0]);
  } else if (name == "expect-text") {
    expectText(verb);
  } else if (name == "expect-messagebox") {
    const auto boxes = m_robot.messageBoxes();
    if (boxes.empty()) fail(verb, "no message box was shown");
    else if (boxes.back().text != verb.args[0]) fail(verb, "the last message box said \"" + boxes.back().text + "\"");
  } else if (name == "expect-notice") {
    const auto notices = m_robot.notices();
    if (std::find(notices.begin(), notices.end(), verb.args[0]) == notices.end())
      fail(verb, notices.empty() ? "no notice is shown" : "the notice says \"" + notices.front() + "\"");
  } else if (name == "post" || name == "send") {
    HWND window = currentWindow(verb);
    std::vector<long> values;
    for (const std::string& arg : verb.args) {
      const auto n = number(arg);
      if (!n) {
        fail(verb, "'" + arg + "' is no number");
        return 0;
      }
      values.push_back(*n);
    }
    values.resize(3, 0);
    const auto message = static_cast<UINT>(values[0]);
    if (window && name == "post") PostMessageA(window, message, static_cast<WPARAM>(values[1]), values[2]);
    if (window && name == "send") SendMessageA(window, message, static_cast<WPARAM>(values[1]), values[2]);
  } else if (name == "screenshot") {
    if (Screenshot::dump(verb.args[0]).empty()) fail(verb, "cannot write " + verb.args[0] + ".png");
  } else if (name == "plug" || name == "unplug") {
    m_robot.plugTvStick(name == "plug");
  } else if (name == "card-remote") {
    const auto code = number(verb.args[0]);
    if (!code || *code < 0 || *code > 31) {
      fail(verb, "'" + verb.args[0] + "' is no remote code");
      return 0;
    }
    m_robot.holdCardRemote(static_cast<int>(*code));
  } else if (name == "remote") {
    remoteKey(verb);
  } else if (name == "sleep-button") {
    m_robot.pressSleepButton();
  } else if (name == "power-button") {
    if (!m_robot.pressPowerButton()) fail(verb, "the PC was not standing by");
  } else if (name == "expect-power") {
    expectPower(verb);
  } else if (name == "composite") {
    m_robot.showOnComposite(verb.args[0] == "none" ? std::string() : verb.args[0]);
  } else if (name == "close") {
    if (HWND window = currentWindow(verb)) PostMessageA(window, WM_CLOSE, 0, 0);
  } else if (name == "log") {
    std::fprintf(stderr, "robot: %s\n", verb.args[0].c_str());
  }
  // A verb that failed has already ended the script.
  if (m_next == before) ++m_next;
  return 0;
}

}  // namespace plat
