// The control hosted in a window of the test's own, created through its registered module,
// with a container that records every line the control's calls and events give.
#pragma once

#include "KinovarTest.h"

#include <CControlHost.h>

#include <machine/VideoSurface.h>

#include <memory>
#include <string>
#include <vector>

namespace test {

class MovieCtlTest : public KinovarTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Runs a command through IDispatch and gives its line.
  std::string run(const std::string& command) { return host->Execute(command); }
  // The events fired since the last call, and forgets them.
  std::vector<std::string> takeEvents();
  std::shared_ptr<plat::VideoSurface> surface();
  // The colour of the picture's left edge, halfway down (a station's background).
  std::uint32_t backgroundPixel();
  static bool near(std::uint32_t pixel, int station);
  // Moves the clock by `ms`, firing the control's timers on the way.
  void advance(int ms);

  HWND window = nullptr;
  std::unique_ptr<CControlHost> host;
  std::vector<std::string> events;
};

}  // namespace test
