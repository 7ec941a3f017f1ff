// Robot scripts: the robot's verbs, one a line, run inside a real program.
//
// ORVANE_ROBOT=<file> makes the program (AfxWinMain) load the script and run it on its
// user-interface thread, one verb each time the thread's message loop has nothing else
// to do, so the program handles everything a verb caused before the next one. A verb
// that fails ends the program with "robot: <file>:<line>: …" on stderr and status 3; a
// program that ends before the script does exits with status 4; a program still running
// ten seconds after the script's last verb is ended with status 5. The verbs are listed in
// platform/README.md.
#pragma once

#include <robot/Robot.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace plat {

class RobotScript {
 public:
  struct Verb {
    int line = 0;
    std::string name;
    std::vector<std::string> args;
  };

  // Throws std::runtime_error "<name>:<line>: …" for a line that is no verb.
  RobotScript(const std::string& text, std::string name);

  // Runs the script named by ORVANE_ROBOT on the calling thread, if there is one.
  static void startFromEnvironment();
  // The program is ending with `exitCode`: the status it should end with instead.
  static int finish(int exitCode);

  // Does the next piece of work, as an idle hook does (see UserSystem::IdleHook).
  int step();
  bool finished() const { return m_next == m_verbs.size(); }
  const Verb* current() const { return finished() ? nullptr : &m_verbs[m_next]; }

  // What happens when a verb fails; by default the program ends as described above.
  using FailureHandler = std::function<void(const std::string& message)>;
  void onFailure(FailureHandler handler) { m_onFailure = std::move(handler); }

 private:
  // Each returns what step() returns; a verb is done when it moves m_next on.
  int run(const Verb& verb);
  int waitFor(const Verb& verb);
  int waitForWindow(const Verb& verb, bool present);
  int waitForEnabled(const Verb& verb);
  // Done: the verb is over. Not yet: looked at again in a few milliseconds, for up to ten
  // seconds of real time, then the script fails with `failure`.
  int keepWaiting(const Verb& verb, bool done, const std::string& failure);
  void expectText(const Verb& verb);
  void remoteKey(const Verb& verb);
  void expectPower(const Verb& verb);
  void fail(const Verb& verb, const std::string& what);
  int done();
  HWND currentWindow(const Verb& verb);
  HWND controlOf(const Verb& verb, std::size_t arg);

  std::string m_name;
  std::vector<Verb> m_verbs;
  std::size_t m_next = 0;
  Robot m_robot{false};
  HWND m_window = nullptr;
  std::optional<std::uint64_t> m_waitLeft;
  std::optional<std::int64_t> m_deadline;
  FailureHandler m_onFailure;
};

}  // namespace plat
