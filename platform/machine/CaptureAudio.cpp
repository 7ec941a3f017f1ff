#include <machine/CaptureAudio.h>

#include <machine/Machine.h>
#include <machine/TvStickCapture.h>

#include <sstream>

namespace plat {

CaptureAudio::CaptureAudio(Machine& machine)
    : m_name(machine.ini().valueOr("AudioCapture", "Name", "Audio Volume Control")) {
  std::stringstream lines(machine.ini().valueOr("AudioCapture", "Lines", "Line In,Microphone,CD Audio"));
  std::string line;
  while (std::getline(lines, line, ','))
    if (!trimmed(line).empty()) m_lines.emplace_back(trimmed(line));
  const std::string tv = machine.ini().valueOr("AudioCapture", "TVLine", "Line In");
  for (size_t i = 0; i < m_lines.size(); ++i)
    if (m_lines[i] == tv) m_tvLine = static_cast<int>(i);
  m_enabled.assign(m_lines.size(), false);
  m_levels.assign(m_lines.size(), 1.0);
  if (!m_lines.empty()) m_enabled[0] = true;
}

bool CaptureAudio::lineEnabled(int index) const {
  std::lock_guard guard(m_lock);
  return index >= 0 && static_cast<size_t>(index) < m_enabled.size() && m_enabled[static_cast<size_t>(index)];
}

void CaptureAudio::setLineEnabled(int index, bool enabled) {
  std::lock_guard guard(m_lock);
  if (index < 0 || static_cast<size_t>(index) >= m_enabled.size()) return;
  // Recording takes one line at a time, as a capture selector does.
  if (enabled) m_enabled.assign(m_enabled.size(), false);
  m_enabled[static_cast<size_t>(index)] = enabled;
}

double CaptureAudio::mixLevel(int index) const {
  std::lock_guard guard(m_lock);
  if (index < 0 || static_cast<size_t>(index) >= m_levels.size()) return 0.0;
  return m_levels[static_cast<size_t>(index)];
}

void CaptureAudio::setMixLevel(int index, double level) {
  std::lock_guard guard(m_lock);
  if (index >= 0 && static_cast<size_t>(index) < m_levels.size()) m_levels[static_cast<size_t>(index)] = level;
}

double CaptureAudio::toneHz(const TvStickCapture& stick) const {
  if (!lineEnabled(m_tvLine)) return 0.0;
  return stick.scene().toneHz;
}

}  // namespace plat
