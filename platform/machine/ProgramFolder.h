// Where the running program lives: the folder of its executable, where it finds its
// data files and the modules it loads by name ("Language.dll", "Filter\Branchel.ax").
//
// Tests give a program its own fresh folder (so its data files never collide) and keep
// finding the built modules through the module folder, which defaults to the same place.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace plat {

class ProgramFolder {
 public:
  static std::filesystem::path path();
  static void set(const std::filesystem::path& folder);
  // The executable's file name ("Orvane Media", or a test program's name).
  static std::string executableName();

  // Searched after the program folder when a module is loaded by name; ORVANE_MODULE_FOLDER
  // chooses it for a program started with a program folder of its own.
  static std::filesystem::path moduleFolder();
  static void setModuleFolder(const std::filesystem::path& folder);
  static std::vector<std::filesystem::path> moduleSearchFolders();
};

}  // namespace plat
