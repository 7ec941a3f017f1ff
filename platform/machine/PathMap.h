// Windows paths on the simulated PC and the Linux paths behind them.
//
// A drive letter maps to a folder (machine.ini [Drives]); "\" becomes "/". Each
// component is matched exactly first and then without case, as Windows' file system
// would find it; a component that does not exist yet keeps its spelling, so new files
// are created as named. Every real path has a Windows name: under a mapped drive when
// one holds it, otherwise under Z:, which maps to "/".
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace plat {

class PathMap {
 public:
  void mapDrive(char letter, const std::filesystem::path& folder);
  bool hasDrive(char letter) const;
  std::filesystem::path driveFolder(char letter) const;
  // Letters in order, upper case.
  std::string driveLetters() const;

  // A relative Windows path is taken from the process's current directory. A path that
  // starts with "/" is already a Linux path and is only resolved for case.
  std::filesystem::path toLinux(std::string_view windowsPath) const;
  std::string toWindows(const std::filesystem::path& linuxPath) const;

 private:
  std::map<char, std::filesystem::path> m_drives;
};

// Finds `name` in `folder` exactly, then without case; returns `name` unchanged when absent.
std::string resolveComponent(const std::filesystem::path& folder, std::string_view name);

}  // namespace plat
