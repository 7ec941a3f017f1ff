#include <win32/gdi/StandardIcons.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace plat {

namespace {

constexpr int kSize = 32;
constexpr WORD kApplication = 32512;
constexpr WORD kHand = 32513;
constexpr WORD kQuestion = 32514;
constexpr WORD kExclamation = 32515;
constexpr WORD kAsterisk = 32516;
constexpr WORD kWinLogo = 32517;

// A pixel of an icon: nothing where the screen shows through.
using Shape = std::function<std::optional<Pixel>(double x, double y)>;

IconTable::Icon draw(const Shape& shape) {
  auto image = std::make_shared<Surface>(kSize, kSize, PixelFormat::Bgrx32);
  auto mask = std::make_shared<Surface>(kSize, kSize, PixelFormat::Mono1);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const std::optional<Pixel> colour = shape(x + 0.5, y + 0.5);
      image->setPixel(x, y, colour.value_or(kBlackPixel));
      mask->setPixel(x, y, colour ? kBlackPixel : kWhitePixel);
    }
  return IconTable::Icon{image, mask, POINT{0, 0}};
}

bool inDisc(double x, double y, double cx, double cy, double r) { return std::hypot(x - cx, y - cy) <= r; }
bool inBox(double x, double y, double left, double top, double right, double bottom) {
  return x >= left && x < right && y >= top && y < bottom;
}
// Within `half` of the segment from (x0, y0) to (x1, y1).
bool onStroke(double x, double y, double x0, double y0, double x1, double y1, double half) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= half;
}

// A round badge with a white mark on it, ringed in a darker shade.
Shape badge(Pixel face, Pixel ring, const std::function<bool(double, double)>& mark) {
  return [=](double x, double y) -> std::optional<Pixel> {
    if (!inDisc(x, y, 16, 16, 15)) return std::nullopt;
    if (!inDisc(x, y, 16, 16, 13.5)) return ring;
    return mark(x, y) ? kWhitePixel : face;
  };
}

bool cross(double x, double y) { return onStroke(x, y, 10, 10, 22, 22, 2.2) || onStroke(x, y, 22, 10, 10, 22, 2.2); }

bool question(double x, double y) {
  const double r = std::hypot(x - 16, y - 12.5);
  const double angle = std::atan2(y - 12.5, x - 16);  // 0 to the right, growing downwards
  const bool hook = r >= 3.5 && r <= 6.5 && (angle <= 1.6 || angle >= 3.0 || y < 12.5);
  return hook || inBox(x, y, 14.5, 18, 17.5, 21.5) || inDisc(x, y, 16, 25, 1.9);
}

bool information(double x, double y) { return inDisc(x, y, 16, 9.5, 2.1) || inBox(x, y, 14.3, 13, 17.7, 24); }

std::optional<Pixel> warning(double x, double y) {
  // A rounded triangle standing on its base, with an exclamation mark.
  const double top = 3, bottom = 29;
  if (y < top || y > bottom) return std::nullopt;
  const double halfWidth = (y - top) * 14.5 / (bottom - top);
  if (std::abs(x - 16) > halfWidth + 0.5) return std::nullopt;
  const bool edge = std::abs(x - 16) > halfWidth - 1.5 || y > bottom - 1.5;
  if (edge) return pixelFromColorRef(0x000000);
  const bool mark = inBox(x, y, 14.5, 10, 17.5, 21) || inDisc(x, y, 16, 24.5, 1.8);
  return mark ? kBlackPixel : pixelFromColorRef(0x00D7FF);  // yellow (as a COLORREF: blue 0, green 215, red 255)
}

std::optional<Pixel> application(double x, double y) {
  if (!inBox(x, y, 2, 4, 30, 28)) return std::nullopt;
  if (!inBox(x, y, 3, 5, 29, 27)) return kBlackPixel;
  if (y < 10) return pixelFromColorRef(0x800000);  // a navy title strip
  return kWhitePixel;
}

}  // namespace

std::optional<IconTable::Icon> StandardIcons::picture(WORD id) {
  switch (id) {
    case kApplication:
    case kWinLogo:
      return draw(application);
    case kHand:
      return draw(badge(pixelFromColorRef(0x0000D0), pixelFromColorRef(0x000080), cross));
    case kQuestion:
      return draw(badge(pixelFromColorRef(0xD06010), pixelFromColorRef(0x804000), question));
    case kExclamation:
      return draw(warning);
    case kAsterisk:
      return draw(badge(pixelFromColorRef(0xD06010), pixelFromColorRef(0x804000), information));
    default:
      return std::nullopt;
  }
}

}  // namespace plat
