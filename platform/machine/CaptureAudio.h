// The PC's audio capture device as hardware: its name and input lines, which lines are
// enabled for recording, and which line the TV stick's sound is wired to. What it
// records is the TV stick's current sound when that line is enabled, silence otherwise.
// machine.ini [AudioCapture] (all optional):
//   Name=Audio Volume Control   Lines=Line In,Microphone,CD Audio   TVLine=Line In
// Line names are taken as bytes in the machine's code page.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace plat {

class Machine;
class TvStickCapture;

class CaptureAudio {
 public:
  explicit CaptureAudio(Machine& machine);
  CaptureAudio(const CaptureAudio&) = delete;
  CaptureAudio& operator=(const CaptureAudio&) = delete;

  const std::string& name() const { return m_name; }
  const std::vector<std::string>& lines() const { return m_lines; }
  // Index of the line carrying the TV sound, or -1.
  int tvLine() const { return m_tvLine; }

  bool lineEnabled(int index) const;
  void setLineEnabled(int index, bool enabled);
  double mixLevel(int index) const;
  void setMixLevel(int index, double level);

  // The tone recorded now: the stick's when its line is enabled and it has a signal.
  double toneHz(const TvStickCapture& stick) const;

 private:
  std::string m_name;
  std::vector<std::string> m_lines;
  int m_tvLine = -1;
  mutable std::mutex m_lock;
  std::vector<bool> m_enabled;
  std::vector<double> m_levels;
};

}  // namespace plat
