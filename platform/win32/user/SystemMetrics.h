// The screen, the frame sizes, the work area, the non-client fonts and the system colours
// of the machine, from machine.ini (see metrics.h for the keys) over classic defaults.
#pragma once

#include <win32/types.h>

#include <map>

namespace plat {

class IniDocument;

class SystemMetrics {
 public:
  explicit SystemMetrics(const IniDocument& ini);

  // 0 for an unknown index, as on Windows.
  int metric(int index) const;
  RECT workArea() const { return m_workArea; }
  COLORREF color(int index) const;
  bool dropShadow() const { return m_dropShadow; }
  // For the rest of the session, as the display settings change it.
  void setDropShadow(bool on) { m_dropShadow = on; }

 private:
  std::map<int, int> m_metrics;
  std::map<int, COLORREF> m_colors;
  RECT m_workArea{};
  bool m_dropShadow = true;
};

}  // namespace plat
