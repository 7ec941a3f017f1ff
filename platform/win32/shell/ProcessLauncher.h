// Starts programs of the machine as real processes. A Windows program path is mapped to
// the machine's files; "X.exe" names the executable X beside it, and a program of the
// program folder that is not there is taken from the folders the built modules come from.
// The new process gets the caller's machine, program and module folders, no robot script,
// and the machine's clock: the caller's clock is shared through the machine root first, so
// the program runs on the same time, manual or real. It is reaped when it ends.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace plat {

class ProcessLauncher {
 public:
  // The executable a Windows program path names; none when there is no such program.
  static std::optional<std::filesystem::path> resolve(const std::string& windowsPath);
  // The process id, or 0 when it could not start.
  static int start(const std::filesystem::path& executable, const std::vector<std::string>& arguments);
  // Splits a command line at blanks, keeping quoted parts whole (quotes removed).
  static std::vector<std::string> splitCommandLine(const std::string& commandLine);
};

}  // namespace plat
