#include "support/CommandLineTool.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace bench {

namespace {

double seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6; }

// The value after `key` in FFmpeg's "bench: utime=0.512s stime=0.031s rtime=0.301s".
double benchFigure(const std::string& line, const std::string& key) {
  const auto at = line.find(key);
  return at == std::string::npos ? -1 : std::strtod(line.c_str() + at + key.size(), nullptr);
}

// Reads everything the child writes until it closes its end or `deadline` passes;
// false on the deadline.
bool readUntil(int fd, std::chrono::steady_clock::time_point deadline, std::string& output) {
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd ready{fd, POLLIN, 0};
    const int polled = poll(&ready, 1, static_cast<int>(left.count()));
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) return polled == 0 ? false : true;
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return true;
    output.append(buffer, static_cast<size_t>(got));
  }
}

// Starts `/bin/sh -c command` with its output and errors into `output` and no input, in
// a process group of its own so that a run out of time is ended with everything it
// started; -1 when it could not start. Spawned, not forked: a fork marks every page of
// this process copy-on-write, and the next round measured here would pay a fault for each
// page it writes.
pid_t spawnShell(const std::string& command, int output) {
  posix_spawn_file_actions_t files;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&files);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_adddup2(&files, output, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&files, output, STDERR_FILENO);
  posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  const char* arguments[] = {"sh", "-c", command.c_str(), nullptr};
  pid_t child = -1;
  const int failed =
      posix_spawn(&child, "/bin/sh", &files, &attributes, const_cast<char* const*>(arguments), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  return failed ? -1 : child;
}

}  // namespace

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::stringstream folders(path);
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::filesystem::path candidate = std::filesystem::path(folder) / program;
    if (access(candidate.c_str(), X_OK) == 0) return true;
  }
  return false;
}

ToolRun RunTool(const std::string& commandLine, std::chrono::seconds limit) {
  ToolRun run;
  if (!OnPath(commandLine.substr(0, commandLine.find(' ')))) {
    run.outcome = ToolRun::Outcome::NotInstalled;
    return run;
  }
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return run;
  const auto started = std::chrono::steady_clock::now();
  const pid_t child = spawnShell("exec " + commandLine, pipeEnds[1]);
  close(pipeEnds[1]);
  if (child < 0) {
    close(pipeEnds[0]);
    return run;
  }
  const bool finished = readUntil(pipeEnds[0], started + limit, run.output);
  close(pipeEnds[0]);
  if (!finished) kill(-child, SIGKILL);
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  run.usage.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  run.usage.processor = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  if (!finished)
    run.outcome = ToolRun::Outcome::TimedOut;
  else
    run.outcome = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ToolRun::Outcome::Ran : ToolRun::Outcome::Failed;
  return run;
}

ToolRun RunToolLessStartUp(const std::string& commandLine, const std::string& startUp, std::chrono::seconds limit) {
  ToolRun run = RunTool(commandLine, limit);
  if (run.outcome != ToolRun::Outcome::Ran) return run;
  const ToolRun idle = RunTool(startUp, limit);
  if (idle.outcome != ToolRun::Outcome::Ran) return idle;
  run.usage.wall -= idle.usage.wall;
  run.usage.processor -= idle.usage.processor;
  return run;
}

std::string FfmpegCommand(const std::string& arguments) {
  return "ffmpeg -hide_banner -nostdin -benchmark " + arguments;
}

ToolRun RunFfmpeg(const std::string& arguments, std::chrono::seconds limit) {
  ToolRun run = RunTool(FfmpegCommand(arguments), limit);
  if (run.outcome != ToolRun::Outcome::Ran) return run;
  std::istringstream lines(run.output);
  std::string line;
  bool reported = false;
  while (std::getline(lines, line)) {
    if (line.rfind("bench: utime=", 0) != 0) continue;
    run.usage.processor = benchFigure(line, "utime=") + benchFigure(line, "stime=");
    run.usage.wall = benchFigure(line, "rtime=");
    reported = true;
  }
  if (!reported) run.outcome = ToolRun::Outcome::Failed;
  return run;
}

const char* OutcomeText(ToolRun::Outcome outcome) {
  switch (outcome) {
    case ToolRun::Outcome::Ran: return "";
    case ToolRun::Outcome::NotInstalled: return "not installed";
    case ToolRun::Outcome::Failed: return "failed";
    case ToolRun::Outcome::TimedOut: return "out of time";
  }
  return "";
}

}  // namespace bench
