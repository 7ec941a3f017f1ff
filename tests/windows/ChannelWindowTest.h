// Fixture of the channel window's tests: the program folder holds the tests' launcher and
// TV skins and the channel window's default skin as the build drew it; the launcher, the
// TV window and the channel window are opened as a user opens them (the TV window's
// channel button) and driven by the robot on the manual clock.
#pragma once

#include "windows/WindowsTest.h"

#include "core/data/CChannelList.h"
#include "windows/setup/CChannelDlg.h"

#include <functional>
#include <string>
#include <vector>

class CSkinLabel;

namespace test {

class ChannelWindowTest : public WindowsTest {
 protected:
  ChannelWindowTest();

  // The TV window opened from the launcher, then the channel window from its button.
  CChannelDlg& openChannels();
  CChannelDlg& channels() { return *g_pChannelDlg; }
  // A skin button of the channel window, clicked.
  void press(const char* name);
  BOOL enabled(const char* name);
  std::string label(const char* name);

  // The rows as the report list shows them: numbers, names, frequencies ("%.2f").
  std::vector<int> rowNumbers();
  std::vector<std::string> rowNames();
  std::vector<std::string> rowFrequencies();
  // The numbers in a list of the channel list, in order.
  std::vector<int> listNumbers(int list);
  ChannelRecord stored(int number, int list);
  // The middle of a cell of the report list, on screen.
  POINT cell(int row, int column);
  void selectRow(int row);

  // Lets the machine's time run, serving the scan worker (which waits for the window at
  // every step), until `done` holds; false after two minutes of it.
  bool serveScanUntil(const std::function<bool()>& done);
  // The scan button pressed and the scan served to its end.
  bool scanToEnd();
  bool scanEnded();
  // `action` runs each time the channel window has shown a step of the scan, while the
  // worker still waits for it.
  void afterEachScanStep(std::function<void(int percent)> action);

  // The stations on air: carrier MHz, standard, number and name each.
  struct Station {
    const char* carrier;
    const char* standard;
    int number;
    const char* name;
  };
  void putOnAir(const std::vector<Station>& stations);
  // The tuner's tuned station, by name; empty when it receives none.
  std::string tunedStation();
  // The tuner's local oscillator in Hz, 0 before any tuning.
  long long oscillatorHz();
  // Writes to the stick's tuner so far.
  std::size_t tunerWrites();

 private:
  static LRESULT CALLBACK ScanStepProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static inline WNDPROC s_channelProc = nullptr;
  static inline std::function<void(int)> s_afterScanStep;
};

}  // namespace test
