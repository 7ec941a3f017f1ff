#include <robot/Screenshot.h>

#include <win32/gdi/PngCodec.h>
#include <win32/gdi/VirtualScreen.h>
#include <win32/gdi/WindowGraphics.h>
#include <win32/gdi/object.h>
#include <win32/user/metrics.h>
#include <win32/user/window.h>

#include <cstdlib>
#include <optional>

namespace plat {

namespace {

std::optional<Surface> windowPicture(HWND hwnd) {
  RECT r{};
  if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &r)) return std::nullopt;
  WindowGraphics& graphics = WindowGraphics::current();
  const auto pixels = graphics.surfaceOf(hwnd, SIZE{r.right - r.left, r.bottom - r.top});
  Surface picture = pixels->clone();
  if (const auto region = graphics.regionOf(hwnd)) {
    const Region outside = Region(picture.bounds()).subtracted(*region);
    const Pixel desktop = pixelFromColorRef(GetSysColor(COLOR_DESKTOP));
    for (const RECT& part : outside.rects()) picture.fill(part, desktop);
  }
  return picture;
}

}  // namespace

bool Screenshot::saveScreen(const std::filesystem::path& png) {
  return PngCodec::save(*VirtualScreen::current().compose(), png);
}

bool Screenshot::saveWindow(HWND hwnd, const std::filesystem::path& png) {
  const auto picture = windowPicture(hwnd);
  return picture && PngCodec::save(*picture, png);
}

COLORREF Screenshot::screenPixel(int x, int y) {
  const auto frame = VirtualScreen::current().compose();
  if (x < 0 || y < 0 || x >= frame->width() || y >= frame->height()) return CLR_INVALID;
  return colorRefFromPixel(frame->pixel(x, y));
}

COLORREF Screenshot::windowPixel(HWND hwnd, int x, int y) {
  const auto picture = windowPicture(hwnd);
  if (!picture || x < 0 || y < 0 || x >= picture->width() || y >= picture->height()) return CLR_INVALID;
  return colorRefFromPixel(picture->pixel(x, y));
}

std::filesystem::path Screenshot::dump(const std::string& name) {
  const char* dir = std::getenv("ORVANE_SCREENSHOT_DIR");
  std::filesystem::path file = std::filesystem::path(dir && *dir ? dir : ".") / (name + ".png");
  return saveScreen(file) ? file : std::filesystem::path();
}

}  // namespace plat
