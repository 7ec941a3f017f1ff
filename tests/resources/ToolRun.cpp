#include "ToolRun.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace test {

namespace fs = std::filesystem;

ToolRun::ToolRun(const std::string& name)
    : m_folder(fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
  fs::remove_all(m_folder);
  fs::create_directories(m_folder);
}

ToolRun::~ToolRun() { fs::remove_all(m_folder); }

int ToolRun::run(const std::string& program, const std::vector<std::string>& arguments) {
  const fs::path errors = m_folder / "errors.txt";
  std::string command = "'" + program + "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  command += " 2> '" + errors.string() + "'";
  const int code = std::system(command.c_str());
  m_errors = read(errors);
  fs::remove(errors);
  return code;
}

std::string ToolRun::read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::map<std::string, std::string> ToolRun::files(const fs::path& folder) {
  std::map<std::string, std::string> out;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) out[fs::relative(entry.path(), folder).string()] = read(entry.path());
  return out;
}

}  // namespace test
