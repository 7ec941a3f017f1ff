#include <win32/shell/ProcessLauncher.h>

#include <machine/ClockFollowers.h>
#include <machine/Machine.h>
#include <machine/ProgramFolder.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <system_error>
#include <thread>

extern char** environ;

namespace plat {

namespace fs = std::filesystem;

namespace {

bool endsWithExe(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
  return tail == ".exe";
}

bool isExecutable(const fs::path& file) {
  std::error_code ec;
  return fs::is_regular_file(file, ec) && ::access(file.c_str(), X_OK) == 0;
}

std::vector<std::string> childEnvironment() {
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    if (entry.rfind("ORVANE_ROBOT=", 0) == 0 || entry.rfind("ORVANE_MACHINE=", 0) == 0 ||
        entry.rfind("ORVANE_PROGRAM_FOLDER=", 0) == 0 || entry.rfind("ORVANE_MODULE_FOLDER=", 0) == 0)
      continue;
    environment.push_back(entry);
  }
  environment.push_back("ORVANE_MACHINE=" + Machine::current().root().string());
  environment.push_back("ORVANE_PROGRAM_FOLDER=" + ProgramFolder::path().string());
  environment.push_back("ORVANE_MODULE_FOLDER=" + ProgramFolder::moduleFolder().string());
  return environment;
}

}  // namespace

std::optional<fs::path> ProcessLauncher::resolve(const std::string& windowsPath) {
  fs::path path = Machine::current().paths().toLinux(windowsPath);
  std::string name = path.filename().string();
  if (endsWithExe(name)) name.resize(name.size() - 4);
  const fs::path beside = path.parent_path() / name;
  if (isExecutable(beside)) return beside;
  std::error_code ec;
  if (!fs::equivalent(path.parent_path(), ProgramFolder::path(), ec)) return std::nullopt;
  for (const fs::path& folder : ProgramFolder::moduleSearchFolders()) {
    if (isExecutable(folder / name)) return folder / name;
  }
  return std::nullopt;
}

int ProcessLauncher::start(const fs::path& executable, const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{executable.string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> argp;
  for (std::string& a : argv) argp.push_back(a.data());
  argp.push_back(nullptr);
  std::vector<std::string> environment = childEnvironment();
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  // The new program keeps the machine's time, manual or real, as a PC's programs share its clock.
  Machine& machine = Machine::current();
  machine.shareClock();
  pid_t pid = 0;
  if (posix_spawn(&pid, executable.c_str(), nullptr, nullptr, argp.data(), envp.data()) != 0) return 0;
  machine.service<ClockFollowers>().expectStart(static_cast<int>(pid));
  // A started program lives on by itself; this only collects its exit so it leaves no zombie.
  std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
  return static_cast<int>(pid);
}

std::vector<std::string> ProcessLauncher::splitCommandLine(const std::string& commandLine) {
  std::vector<std::string> parts;
  std::string current;
  bool quoted = false, any = false;
  for (const char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) parts.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) parts.push_back(current);
  return parts;
}

}  // namespace plat
