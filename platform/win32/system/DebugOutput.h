// The debug output of the programs on one machine (OutputDebugStringA): each message is
// appended to the machine's debug.log and kept in order for tests. Thread safe.
#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Machine;

class DebugOutput {
 public:
  explicit DebugOutput(Machine& machine);
  // The current machine's.
  static DebugOutput& current();

  // One message; a line break that ends it is not kept.
  void write(std::string_view text);
  // Every message this process wrote on the machine, oldest first.
  std::vector<std::string> lines() const;
  const std::filesystem::path& logFile() const { return m_logFile; }

 private:
  mutable std::mutex m_lock;
  std::filesystem::path m_logFile;
  std::vector<std::string> m_lines;
};

}  // namespace plat
