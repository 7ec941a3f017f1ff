#include "support/CommandLineTool.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace bench {

namespace {

double childrenSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
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

std::optional<double> FfmpegSeconds(const std::string& arguments) {
  if (!OnPath("ffmpeg")) return std::nullopt;
  const std::string command = "ffmpeg -hide_banner -nostdin -loglevel info -benchmark " + arguments + " 2>&1";
  FILE* output = popen(command.c_str(), "r");
  if (!output) return std::nullopt;
  std::optional<double> seconds;
  char line[512];
  while (std::fgets(line, sizeof line, output)) {
    // "bench: utime=0.512s stime=0.031s rtime=0.301s"
    const std::string text(line);
    const auto at = text.find("rtime=");
    if (at != std::string::npos) seconds = std::strtod(text.c_str() + at + 6, nullptr);
  }
  const int status = pclose(output);
  if (status != 0) return std::nullopt;
  return seconds;
}

void TimeFfmpegRuns(benchmark::State& state, const std::string& arguments, int pictures, const std::string& label) {
  for (auto _ : state) {
    const auto seconds = FfmpegSeconds(arguments);
    if (!seconds) {
      state.SkipWithError("ffmpeg not installed or failed");
      return;
    }
    state.SetIterationTime(*seconds);
  }
  state.SetItemsProcessed(state.iterations() * pictures);
  state.SetLabel(label);
}

std::optional<double> ChildProcessorSeconds(const std::string& commandLine) {
  const double before = childrenSeconds();
  const int status = std::system((commandLine + " >/dev/null 2>&1").c_str());
  if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return childrenSeconds() - before;
}

}  // namespace bench
