#include <win32/system/DebugOutput.h>

#include <machine/Machine.h>

#include <fstream>

namespace plat {

DebugOutput::DebugOutput(Machine& machine) : m_logFile(machine.root() / "debug.log") {}

DebugOutput& DebugOutput::current() { return Machine::current().service<DebugOutput>(); }

void DebugOutput::write(std::string_view text) {
  if (text.ends_with('\n')) text.remove_suffix(1);
  if (text.ends_with('\r')) text.remove_suffix(1);
  std::lock_guard guard(m_lock);
  m_lines.emplace_back(text);
  // Opened per message, so other programs of the machine append between ours.
  std::ofstream(m_logFile, std::ios::app | std::ios::binary) << text << '\n';
}

std::vector<std::string> DebugOutput::lines() const {
  std::lock_guard guard(m_lock);
  return m_lines;
}

}  // namespace plat
