#include <robot/Screenshot.h>

#include <win32/gdi/PngCodec.h>
#include <win32/gdi/VirtualScreen.h>
#include <win32/gdi/WindowGraphics.h>
#include <win32/gdi/object.h>
#include <win32/user/Desktop.h>
#include <win32/user/metrics.h>
#include <win32/user/rect.h>
#include <win32/user/window.h>

#include <cstdlib>
#include <optional>
#include <vector>

namespace plat {

namespace {

// A window's picture and where its top-left lies in the window's own coordinates.
struct Picture {
  Surface pixels;
  long long left = 0;
  long long top = 0;
};

// A child paints into its top-level window's surface: its picture is cut from there, the
// part of it that lies on those pixels (a child may reach far past them).
Picture childPicture(const Surface& topPixels, const RECT& top, const RECT& child) {
  RECT shown{};
  if (!IntersectRect(&shown, &child, &top)) return Picture{Surface(0, 0, topPixels.format())};
  Surface pixels(shown.right - shown.left, shown.bottom - shown.top, topPixels.format());
  std::vector<Pixel> span(static_cast<std::size_t>(pixels.width()));
  for (int y = 0; y < pixels.height(); ++y) {
    topPixels.readSpan(shown.left - top.left, shown.top - top.top + y, pixels.width(), span.data());
    pixels.writeSpan(0, y, pixels.width(), span.data());
  }
  return Picture{std::move(pixels), LONGLONG{shown.left} - child.left, LONGLONG{shown.top} - child.top};
}

std::optional<Picture> windowPicture(HWND hwnd) {
  RECT r{};
  if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &r)) return std::nullopt;
  WindowGraphics& graphics = WindowGraphics::current();
  HWND top = GetAncestor(hwnd, GA_ROOT);
  if (top && top != hwnd) {
    RECT topRect{};
    GetWindowRect(top, &topRect);
    const auto pixels = graphics.surfaceOf(top, topRect);
    return childPicture(*pixels, WindowGraphics::pixelsOnScreen(topRect), r);
  }
  Surface picture = graphics.surfaceOf(hwnd, r)->clone();
  if (const auto region = graphics.regionOf(hwnd)) {
    const Region outside = Region(picture.bounds()).subtracted(*region);
    const Pixel desktop = pixelFromColorRef(GetSysColor(COLOR_DESKTOP));
    for (const RECT& part : outside.rects()) picture.fill(part, desktop);
  }
  return Picture{std::move(picture)};
}

// The pixels of `area` on a picture whose top-left lies at (left, top) of the area's
// coordinates.
std::vector<COLORREF> pixelsOf(const Surface* pixels, long long left, long long top, const RECT& area) {
  std::vector<COLORREF> read;
  if (area.right <= area.left || area.bottom <= area.top) return read;
  read.reserve(static_cast<std::size_t>(LONGLONG{area.right} - area.left) *
               static_cast<std::size_t>(LONGLONG{area.bottom} - area.top));
  for (long long y = area.top; y < area.bottom; ++y)
    for (long long x = area.left; x < area.right; ++x) {
      const long long px = x - left;
      const long long py = y - top;
      const bool inside = pixels && px >= 0 && py >= 0 && px < pixels->width() && py < pixels->height();
      read.push_back(inside ? colorRefFromPixel(pixels->pixel(static_cast<int>(px), static_cast<int>(py)))
                            : CLR_INVALID);
    }
  return read;
}

}  // namespace

bool Screenshot::saveScreen(const std::filesystem::path& png) { return PngCodec::save(*Desktop::compose(), png); }

bool Screenshot::saveWindow(HWND hwnd, const std::filesystem::path& png) {
  const auto picture = windowPicture(hwnd);
  return picture && PngCodec::save(picture->pixels, png);
}

COLORREF Screenshot::screenPixel(int x, int y) {
  const auto frame = Desktop::compose();
  if (x < 0 || y < 0 || x >= frame->width() || y >= frame->height()) return CLR_INVALID;
  return colorRefFromPixel(frame->pixel(x, y));
}

COLORREF Screenshot::windowPixel(HWND hwnd, int x, int y) {
  const auto picture = windowPicture(hwnd);
  if (!picture) return CLR_INVALID;
  const long long px = x - picture->left;
  const long long py = y - picture->top;
  if (px < 0 || py < 0 || px >= picture->pixels.width() || py >= picture->pixels.height()) return CLR_INVALID;
  return colorRefFromPixel(picture->pixels.pixel(static_cast<int>(px), static_cast<int>(py)));
}

std::vector<COLORREF> Screenshot::screenPixels(const RECT& area) {
  const auto frame = Desktop::compose();
  return pixelsOf(frame.get(), 0, 0, area);
}

std::vector<COLORREF> Screenshot::windowPixels(HWND hwnd, const RECT& area) {
  const auto picture = windowPicture(hwnd);
  return picture ? pixelsOf(&picture->pixels, picture->left, picture->top, area) : pixelsOf(nullptr, 0, 0, area);
}

std::filesystem::path Screenshot::dump(const std::string& name) {
  const char* dir = std::getenv("ORVANE_SCREENSHOT_DIR");
  std::filesystem::path file = std::filesystem::path(dir && *dir ? dir : ".") / (name + ".png");
  return saveScreen(file) ? file : std::filesystem::path();
}

}  // namespace plat
