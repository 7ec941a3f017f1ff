#include <robot/Screenshot.h>

#include <win32/gdi/PngCodec.h>
#include <win32/gdi/VirtualScreen.h>
#include <win32/gdi/WindowGraphics.h>
#include <win32/gdi/object.h>
#include <win32/user/Desktop.h>
#include <win32/user/metrics.h>
#include <win32/user/window.h>

#include <cstdlib>
#include <optional>
#include <vector>

namespace plat {

namespace {

// A child paints into its top-level window's surface: its picture is cut from there.
Surface childPicture(const Surface& topPixels, const RECT& top, const RECT& child) {
  Surface picture(child.right - child.left, child.bottom - child.top, topPixels.format());
  std::vector<Pixel> span(static_cast<std::size_t>(picture.width()));
  for (int y = 0; y < picture.height(); ++y) {
    const int sy = child.top - top.top + y;
    for (int x = 0; x < picture.width(); ++x) {
      const int sx = child.left - top.left + x;
      const bool inside = sx >= 0 && sy >= 0 && sx < topPixels.width() && sy < topPixels.height();
      span[static_cast<std::size_t>(x)] = inside ? topPixels.pixel(sx, sy) : Pixel{};
    }
    picture.writeSpan(0, y, picture.width(), span.data());
  }
  return picture;
}

std::optional<Surface> windowPicture(HWND hwnd) {
  RECT r{};
  if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &r)) return std::nullopt;
  WindowGraphics& graphics = WindowGraphics::current();
  HWND top = GetAncestor(hwnd, GA_ROOT);
  if (top && top != hwnd) {
    RECT topRect{};
    GetWindowRect(top, &topRect);
    const auto pixels = graphics.surfaceOf(top, SIZE{topRect.right - topRect.left, topRect.bottom - topRect.top});
    return childPicture(*pixels, topRect, r);
  }
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

bool Screenshot::saveScreen(const std::filesystem::path& png) { return PngCodec::save(*Desktop::compose(), png); }

bool Screenshot::saveWindow(HWND hwnd, const std::filesystem::path& png) {
  const auto picture = windowPicture(hwnd);
  return picture && PngCodec::save(*picture, png);
}

COLORREF Screenshot::screenPixel(int x, int y) {
  const auto frame = Desktop::compose();
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
