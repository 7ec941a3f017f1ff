#include "ProgramsTest.h"

#include <com/objbase.h>
#include <graphs/DeviceUtilities.h>
#include <machine/ClockFollowers.h>
#include <machine/ProgramFolder.h>
#include <win32/user.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <thread>

extern char** environ;

namespace test {

namespace {

// Ends every other process that shows a window of that title on the machine.
void EndProcessesWithWindow(const char* title) {
  for (int tries = 0; tries < 100; ++tries) {
    HWND hwnd = FindWindowA(nullptr, title);
    DWORD pid = 0;
    if (!hwnd || !GetWindowThreadProcessId(hwnd, &pid) || pid == static_cast<DWORD>(getpid())) return;
    kill(static_cast<pid_t>(pid), SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

ProgramsTest::ProgramsTest(bool shareClock) {
  if (shareClock) machine().shareClock();
}

ProgramsTest::~ProgramsTest() {
  // Programs the scheduler started are not this test's children: they are found by title.
  for (const char* title : {"TALVIK Norlet Schedule", "Orvane Media"}) EndProcessesWithWindow(title);
  for (pid_t pid : m_started) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
}

pid_t ProgramsTest::start(const std::string& program, const std::string& script) {
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    if (entry.rfind("ORVANE_", 0) != 0) environment.push_back(entry);
  }
  environment.push_back("ORVANE_MACHINE=" + testMachine.root().string());
  environment.push_back("ORVANE_PROGRAM_FOLDER=" + testMachine.programFolder().string());
  environment.push_back("ORVANE_MODULE_FOLDER=" + TestMachine::builtProgramFolder().string());
  environment.push_back("ORVANE_SCREENSHOT_DIR=" + testMachine.root().string());
  if (!script.empty()) {
    const auto file = testMachine.root() / ("script" + std::to_string(m_started.size()) + ".robot");
    std::ofstream(file) << script;
    environment.push_back("ORVANE_ROBOT=" + file.string());
  }
  std::vector<char*> envp;
  for (auto& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string path = (TestMachine::builtProgramFolder() / program).string();
  char* argv[] = {path.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return 0;
  machine().service<plat::ClockFollowers>().expectStart(pid);
  m_started.push_back(pid);
  return pid;
}

int ProgramsTest::waitForExit(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  std::erase(m_started, pid);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ProgramsTest::isRunning(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

bool ProgramsTest::waitUntil(const std::function<bool()>& done) {
  // Only a limit for a program that never gets there: under the sanitizers, on a loaded
  // machine, another program can take more than 20 s to open a window.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    robot.pumpUntilIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

HWND ProgramsTest::waitForWindow(const char* title) {
  HWND found = nullptr;
  waitUntil([&] { return (found = FindWindowA("#32770", title)) != nullptr; });
  return found;
}

bool ProgramsTest::advanceUntil(std::uint64_t ms, std::uint64_t stepMs, const std::function<bool()>& done) {
  for (std::uint64_t moved = 0; moved < ms; moved += stepMs) {
    if (done()) return true;
    advance(stepMs, stepMs);
  }
  return waitUntil(done);
}

void ProgramsTest::advance(std::uint64_t ms, std::uint64_t stepMs) {
  for (std::uint64_t moved = 0; moved < ms; moved += stepMs) robot.advance(stepMs);
}

std::string ProgramsTest::programPath(const std::string& name) {
  return machine().paths().toWindows(testMachine.programFolder() / name);
}

void ProgramsTest::installMainProgram() {
  const auto built = TestMachine::builtProgramFolder();
  for (const char* folder : {"Skin", "skins", "Filter"})
    std::filesystem::copy(built / folder, testMachine.programFolder() / folder, std::filesystem::copy_options::recursive);
  CoInitialize(nullptr);
  RegisterFilterModule("Filter\\Branchel.ax");
  CoUninitialize();
}

}  // namespace test
