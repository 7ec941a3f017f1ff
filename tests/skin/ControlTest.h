// Skinned controls on a real window for the tests: a visible, active top-level parent
// whose procedure records what the controls tell it, the robot to play the user, and
// pixels read from the controls' own pictures. A failed test leaves the screen beside
// its log as "<suite>.<test>.png".
#pragma once

#include <mfc/afxwin.h>
#include <win32/gdi.h>

#include "GdiTestSupport.h"
#include <robot/Robot.h>
#include <robot/Screenshot.h>
#include <support/TestMachine.h>

#include <functional>
#include <vector>

namespace test {

struct ParentMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class ControlTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The parent's messages of the given kind since the last clear.
  std::vector<ParentMessage> received(UINT message) const;
  void clearReceived() { s_received.clear(); }

  CWnd* parent() { return CWnd::FromHandle(m_hParent); }
  HWND parentHwnd() const { return m_hParent; }
  // A point of a window's client area in screen coordinates.
  static POINT onScreen(HWND hwnd, int x, int y);
  // Pumps, then reads the screen at (x, y) of the window's client area.
  COLORREF pixel(HWND hwnd, int x, int y);
  // A horizontal strip of `count` images, cx x cy each, image i filled with colors[i].
  static HBITMAP MakeStrip(int cx, int cy, const std::vector<COLORREF>& colors);
  // Bitmaps alive in the process: what leak checks count.
  static std::size_t liveBitmaps();
  // Saves the parent window as "<name>.png" in the tests' screenshot folder.
  void saveParent(const std::string& name);

  plat::Robot robot;

  // Messages the parent records (besides WM_COMMAND).
  static inline std::vector<UINT> s_recorded;
  // Runs for every message the parent records, before it is stored.
  static inline std::function<void(const ParentMessage&)> s_onMessage;

 private:
  static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static inline std::vector<ParentMessage> s_received;
  HWND m_hParent = nullptr;
};

}  // namespace test
