// Fixture of the settings windows' tests: the program folder holds the skins the build
// drew (so what the tests see and save is what the program shows), the launcher opens as
// the program opens it, and the hub and its pages are reached as a user reaches them,
// through their buttons, on the manual clock.
#pragma once

#include "windows/WindowsTest.h"

#include "windows/setup/CHardwareDlg.h"
#include "windows/setup/CRecordSetDlg.h"
#include "windows/setup/CSetDlg.h"
#include "windows/setup/CVideoSetDlg.h"

#include <machine/TvStickCapture.h>

#include <string>

namespace test {

class SettingsWindowsTest : public WindowsTest {
 protected:
  SettingsWindowsTest();

  // The launcher's settings button, and the TV window's.
  CSetDlg& openHubFromLauncher();
  CSetDlg& openHubFromTV();
  CSetDlg& hub() { return *g_pSetDlg; }
  // A page button of the hub (opened from the launcher first when there is no hub).
  CHardwareDlg& openHardware();
  CVideoSetDlg& openVideoSettings();
  CRecordSetDlg& openRecordSettings();

  // The first label of that skin name on a page, its text.
  std::string label(const CSettingsPageDlg& page, const char* name);
  BOOL enabled(const CSkinDialog& window, const char* name);
  int mode() const;
  // A key pressed with Ctrl held.
  void ctrlKey(int vk);
  // The screen with the window in front, into the build's folder of settings screenshots.
  void screenshot(CWnd& window, const std::string& name);
  plat::TvStickCapture& stick() { return machine().service<plat::TvStickCapture>(); }
  // The live picture is drawn into the window.
  bool pictureIn(const CWnd* window);
  // The first channel of the active list that a station sends on becomes the current one.
  void chooseAStation();
  // Moves the clock `ms` on frame by frame, the live picture's streaming threads settled
  // after each.
  void runPictures(int ms);
};

}  // namespace test
