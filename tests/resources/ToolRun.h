// Running one of the build's tools as the build does, in a temporary folder of its own:
// the command's exit code, what it wrote to its error stream, and the files it made.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace test {

class ToolRun {
 public:
  // A fresh folder named after `name` and this process, removed at the end.
  explicit ToolRun(const std::string& name);
  ~ToolRun();
  ToolRun(const ToolRun&) = delete;
  ToolRun& operator=(const ToolRun&) = delete;

  const std::filesystem::path& folder() const { return m_folder; }
  // Runs `program` with the arguments; its exit code. Its error stream is kept.
  int run(const std::string& program, const std::vector<std::string>& arguments);
  const std::string& errors() const { return m_errors; }

  static std::string read(const std::filesystem::path& file);
  // Every file under a folder with its bytes, by path relative to it.
  static std::map<std::string, std::string> files(const std::filesystem::path& folder);

 private:
  std::filesystem::path m_folder;
  std::string m_errors;
};

}  // namespace test
