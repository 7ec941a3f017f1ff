// Fixtures for the windows' tests: a controller's machine whose program folder holds small
// skins written by the test (plain coloured pictures at known places), the launcher opened
// as the program opens it, and the robot to drive it on the manual clock.
#pragma once

#include "core/CoreTest.h"

#include <mfc/afxwin.h>
#include <robot/Robot.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMainDlg;
class CTVDlg;

namespace test {

// A 24-bit bitmap file of cx x cy pixels, each the COLORREF `pixel(x, y)`.
void WriteBmpFile(const std::filesystem::path& file, int cx, int cy, const std::function<COLORREF(int, int)>& pixel);

// "left,top,right,bottom".
std::string Text(const RECT& rect);

// The colours the fixture skins use.
inline constexpr COLORREF kLauncherBackground = RGB(20, 40, 90);
inline constexpr COLORREF kTVBackground = RGB(30, 30, 30);
inline constexpr COLORREF kButtonNormal = RGB(200, 200, 60);
inline constexpr COLORREF kBarNormal = RGB(70, 120, 200);
inline constexpr COLORREF kBarMask = RGB(255, 255, 255);

class WindowsTest : public ControllerTest {
 protected:
  WindowsTest();
  ~WindowsTest() override;

  // The program folder's file, as a Linux path.
  std::filesystem::path programFile(const std::string& relative);
  // Writes "Skin\Normal\skin.ini", "Skin\TV\skin.ini" and "skins\elegance\skin.ini" with
  // their pictures: the launcher's ten buttons, the TV window's twelve and the bar's.
  void writeSkins();
  void writeLauncherSkin();
  void writeTVSkin();
  void writeBarSkin();
  // Writes a skin file's text.
  void writeIni(const std::string& relative, const std::string& text);

  // The launcher, created as the program's main window (its skin loaded, the controller
  // started), and the TV window it opens on Ctrl+T.
  CMainDlg& openLauncher();
  CTVDlg& openTV();
  void closeLauncher();

  HWND launcherWindow() const;
  // Sends a remote-control key as the scheduler program does.
  void remoteKey(int key, WPARAM flag = 0);
  // The power log's entries as "category text".
  std::vector<std::string> powerLog();
  // The help files opened, each as "<file> <command>".
  std::vector<std::string> helpRequests();
  // Moves the pointer over a skin button of a window and clicks it.
  void clickButton(CWnd& window, const char* name);

  CWinApp app;
  plat::Robot robot;
  std::unique_ptr<CMainDlg> launcher;
};

}  // namespace test
