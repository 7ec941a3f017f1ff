// Fixtures for the windows' tests: a controller's machine whose program folder holds small
// skins written by the test (plain coloured pictures at known places), the launcher opened
// as the program opens it, and the robot to drive it on the manual clock.
#pragma once

#include "core/CoreTest.h"
#include "windows/SkinFixture.h"

#include <mfc/afxwin.h>
#include <robot/Robot.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMainDlg;
class CSkinLabel;
class CTVDlg;

namespace test {

class WindowsTest : public ControllerTest {
 protected:
  WindowsTest();
  ~WindowsTest() override;

  // The program folder's file, as a Linux path.
  std::filesystem::path programFile(const std::string& relative);
  // The three fixture skins in this test's program folder.
  void writeSkins();
  // The skins the build draws, as the program ships them: for windows that have no
  // fixture skin and for screenshots that show the product as it looks.
  void useBuiltSkins();
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
  // Moves the clock on a frame at a time, the streaming threads settled after each, until
  // a live picture has reached the screen; false after ten seconds of the clock.
  bool untilAPictureShows();
  // Moves the pointer over a skin button of a window and clicks it.
  void clickButton(CWnd& window, const char* name);
  // The frame number a numbered picture (NumberedPicture) shows on the screen in the
  // client rectangle of `window`; -1 for none, or one upside down.
  static int numberOnScreen(HWND window);
  static int numberOnScreen(HWND window, RECT client);
  // How far the label's own text, in the font the label draws it in, is narrower than the
  // label (negative: that much of it is cut off).
  static int RoomForText(CSkinLabel& label);
  // What the screen shows of the window is what it paints when asked to again: nothing
  // stale or missing (sampled every few pixels of its client area).
  bool showsAsDrawn(HWND hwnd);
  // The system commands the program's main window is asked for while `act` runs.
  std::vector<WPARAM> askedOfMainWindow(const std::function<void()>& act);

  CWinApp app;
  plat::Robot robot;
  std::unique_ptr<CMainDlg> launcher;
};

}  // namespace test
