#include "MovieCtlTest.h"

#include <machine/Machine.h>
#include <machine/TestPicture.h>
#include <machine/VideoSurfaces.h>
#include <movie_control/QXMovie.h>
#include <robot/Robot.h>
#include <win32/user.h>

#include <cstdlib>

namespace test {

void MovieCtlTest::SetUp() {
  KinovarTest::SetUp();
  ASSERT_EQ(callExport("Kinovar.ocx", "DllRegisterServer"), S_OK);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "KinovarTestContainer";
  RegisterClassA(&wc);
  window = CreateWindowExA(0, "KinovarTestContainer", "Container", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 360, 300,
                           nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  host = std::make_unique<CControlHost>(window, [this](const std::string& line) { events.push_back(line); });
  ASSERT_EQ(host->Create(CLSID_MovieCtl, RECT{10, 10, 330, 250}), S_OK);
}

void MovieCtlTest::TearDown() {
  host.reset();
  if (window) DestroyWindow(window);
  KinovarTest::TearDown();
}

std::vector<std::string> MovieCtlTest::takeEvents() { return std::exchange(events, {}); }

std::shared_ptr<plat::VideoSurface> MovieCtlTest::surface() {
  const auto owned = machine().service<plat::VideoSurfaces>().ownedBy(host->ControlWindow());
  return owned.empty() ? nullptr : owned.back();
}

std::uint32_t MovieCtlTest::backgroundPixel() {
  const auto frame = surface()->frame();
  return frame.pixels[static_cast<std::size_t>(frame.height / 2) * frame.width + 2];
}

bool MovieCtlTest::near(std::uint32_t pixel, int station) {
  const plat::Rgb colour = plat::TestPicture::stationColour(station);
  const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  return std::abs(r - colour.r) < 8 && std::abs(g - colour.g) < 8 && std::abs(b - colour.b) < 8;
}

void MovieCtlTest::advance(int ms) {
  plat::Robot robot;
  robot.advance(ms);
}

}  // namespace test
