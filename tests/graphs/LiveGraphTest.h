// What the live graphs' fixtures share: COM on the test's thread, the program's settings
// naming the TV stick (line standard 4), a video window, and at the end the program's
// objects a test made deleted. A fixture sets more, and makes its own objects, after
// SetUp, then opens the video window.
#pragma once

#include <support/TestMachine.h>

#include <win32/user.h>

namespace test {

class LiveGraphTest : public MachineTest {
 protected:
  // COM and the settings.
  void SetUp() override;
  // After the fixture's graph is gone.
  void TearDown() override;
  // The 400 x 300 window the graph draws into; last in a fixture's SetUp.
  void openVideoWindow();

  // The machine's Windows: platform 2 (NT) or 1 (9x), major and minor version.
  void setWindows(int platform, int major, int minor);

  HWND window = nullptr;
};

}  // namespace test
