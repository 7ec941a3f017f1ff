#include "MainProgramTest.h"

#include "windows/SkinFixture.h"

#include <graphs/DeviceUtilities.h>
#include <machine/EventLog.h>

#include <com/objbase.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <thread>

extern char** environ;

namespace test {

MainProgramTest::MainProgramTest() {
  // The generated skins when the build made them, else the tests' own.
  const auto built = TestMachine::builtProgramFolder();
  if (std::filesystem::exists(built / "Skin" / "Normal" / "skin.ini") &&
      std::filesystem::exists(built / "skins" / "elegance" / "skin.ini")) {
    std::filesystem::copy(built / "Skin", program() / "Skin", std::filesystem::copy_options::recursive);
    std::filesystem::copy(built / "skins", program() / "skins", std::filesystem::copy_options::recursive);
  } else {
    WriteLauncherSkin(program());
    WriteTVSkin(program());
    WriteBarSkin(program());
  }
  // The program's filter modules, as installed beside it; the fan-out filter the
  // recordings need is registered as the installer does.
  std::filesystem::copy(built / "Filter", program() / "Filter", std::filesystem::copy_options::recursive);
  CoInitialize(nullptr);
  RegisterFilterModule("Filter\\Branchel.ax");
  CoUninitialize();
}

int MainProgramTest::run(const std::string& script) {
  const auto file = testMachine.root() / "main_road.robot";
  std::ofstream(file) << script;
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("ORVANE_", 0) != 0) environment.emplace_back(*e);
  environment.push_back("ORVANE_MACHINE=" + testMachine.root().string());
  environment.push_back("ORVANE_PROGRAM_FOLDER=" + program().string());
  environment.push_back("ORVANE_ROBOT=" + file.string());
  environment.push_back("ORVANE_SCREENSHOT_DIR=" + testMachine.root().string());
  std::vector<char*> envp;
  for (auto& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string path = ORVANE_MEDIA_PROGRAM;
  char* argv[] = {path.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
  // The program runs on the manual clock: a generous real-time limit only.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> MainProgramTest::powerLog() {
  std::vector<std::string> out;
  for (const auto& entry : plat::EventLog::power(machine()).read()) out.push_back(entry.category + " " + entry.text);
  return out;
}

}  // namespace test
