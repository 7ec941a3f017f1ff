// End-to-end fixture: the programs of the program folder run as real processes on the
// test's machine, whose clock they share with the test. The test moves that clock, and each
// step returns once the programs have handled what it made due; only a program starting up
// is waited for in real time (with a generous limit), never time passing. A test whose
// program's robot script drives the clock itself shares nothing (shareClock false).
#pragma once

#include <robot/Robot.h>
#include <support/TestMachine.h>

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace test {

class ProgramsTest : public MachineTest {
 protected:
  explicit ProgramsTest(bool shareClock = true);
  ~ProgramsTest() override;

  // Starts a program of the build's program folder on this machine and program folder,
  // with a robot script when one is given (its screenshots go to the machine root); 0 when
  // it could not start.
  pid_t start(const std::string& program, const std::string& script = "");
  // The exit status, or -1 when it did not end normally.
  int waitForExit(pid_t pid);
  bool isRunning(pid_t pid);
  // Polls `done` (serving this thread's windows) until it holds or 20 real seconds pass.
  bool waitUntil(const std::function<bool()>& done);
  HWND waitForWindow(const char* title);
  // Moves the shared clock in steps of `stepMs`, looking at `done` after each, until it
  // holds or `ms` have passed; then waits for it as waitUntil does. Whether `done` held.
  bool advanceUntil(std::uint64_t ms, std::uint64_t stepMs, const std::function<bool()>& done);
  // Moves the shared clock `ms` on in steps of `stepMs`, as the pictures of a recording
  // would see it.
  void advance(std::uint64_t ms, std::uint64_t stepMs);
  std::string programPath(const std::string& name);
  // The main program's skins and filter modules in this machine's program folder, the
  // fan-out filter registered, as the installer leaves them.
  void installMainProgram();

  plat::Robot robot;

 private:
  std::vector<pid_t> m_started;
};

}  // namespace test
