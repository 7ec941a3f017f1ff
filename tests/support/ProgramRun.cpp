#include <support/ProgramRun.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>

extern char** environ;

namespace test {

ProgramRun RunProgram(const TestMachine& machine, const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& robotScript, const std::vector<std::string>& environment) {
  std::vector<std::string> entries{"ORVANE_MACHINE=" + machine.root().string(), "ORVANE_ROBOT=" + robotScript.string()};
  entries.insert(entries.end(), environment.begin(), environment.end());
  return RunProgramAsUser(machine.root(), program, args, entries);
}

ProgramRun RunProgramAsUser(const std::filesystem::path& folder, const std::string& program,
                            const std::vector<std::string>& args, const std::vector<std::string>& environment) {
  const auto out = folder / "out.txt";
  const auto err = folder / "err.txt";
  // The entries given take the place of the inherited ones of their names.
  const auto given = [&](const std::string& entry) {
    const std::string name = entry.substr(0, entry.find('=') + 1);
    for (const std::string& mine : environment)
      if (mine.rfind(name, 0) == 0) return true;
    return false;
  };
  std::vector<std::string> entries;
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    if (entry.rfind("ORVANE_MACHINE=", 0) != 0 && entry.rfind("ORVANE_ROBOT=", 0) != 0 && !given(entry))
      entries.push_back(entry);
  }
  entries.insert(entries.end(), environment.begin(), environment.end());
  std::vector<char*> envp;
  for (auto& e : entries) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ProgramRun run;
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return run;
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadWhole(out);
  run.err = ReadWhole(err);
  return run;
}

std::string ReadWhole(const std::filesystem::path& file) {
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace test
