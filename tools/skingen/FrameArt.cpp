#include "FrameArt.h"

#include "ButtonArt.h"
#include "Faces.h"
#include "ResourceArt.h"
#include "Theme.h"

#include <sstream>

namespace skingen {

namespace {

constexpr int kWidth = 3 * kFramePart;
constexpr double kCornerRadius = 7;
// The program's button band, bitmap 186, whose colours the bar buttons stand on.
constexpr int kBandBitmap = 186;
constexpr int kBandWidth = 320;
constexpr int kBandHeight = 28;

void drawLook(Canvas& canvas, int look) {
  const double top = look * kFrameBlock;
  const double bottom = top + kFrameBlock;
  const bool active = look == 0;
  const Shape outline = Shape::roundRect(0, top, kWidth, bottom + kCornerRadius, kCornerRadius) -
                        Shape::rect(0, bottom, kWidth, bottom + kCornerRadius);
  canvas.fillExact(outline, theme::kPanelBorder);
  const Rgb captionTop = active ? theme::kCaptionTop : theme::kCaptionBottom;
  const Rgb captionBottom = active ? theme::kCaptionBottom : theme::kBackgroundBottom;
  canvas.fill(Shape::roundRect(1, top + 1, kWidth - 1, top + kFrameTop + kCornerRadius, kCornerRadius - 1) -
                  Shape::rect(0, top + kFrameTop, kWidth, top + kFrameTop + kCornerRadius),
              Paint::vertical(captionTop, captionBottom, top, top + kFrameTop));
  if (active) canvas.fill(Shape::rect(kCornerRadius, top + 1, kWidth - kCornerRadius, top + 2), Paint::solid(theme::kAccentDeep));
  canvas.fill(Shape::rect(0, top + kFrameTop - 1, kWidth, top + kFrameTop), Paint::solid(theme::kHairline));
  drawGlyph(canvas, "tv", 10, top + kFrameTop / 2.0, 10, active ? theme::kAccent : theme::kTextFaint);
}

std::string rect(int left, int top, int right, int bottom) {
  std::ostringstream out;
  out << left << "," << top << "," << right << "," << bottom;
  return out.str();
}

}  // namespace

Canvas drawFramePicture() {
  Canvas canvas(kWidth, 2 * kFrameBlock, theme::kMagenta);
  drawLook(canvas, 0);
  drawLook(canvas, 1);
  return canvas;
}

std::string framePartLines(int look) {
  const int y = look * kFrameBlock;
  const int middle = y + kFrameTop;
  const int low = middle + kFramePart;
  const int p = kFramePart;
  std::ostringstream out;
  out << "TopLeft" << look << "=" << rect(0, y, p, middle) << "\n"
      << "MiddleTop" << look << "=" << rect(p, y, 2 * p, middle) << "\n"
      << "TopRight" << look << "=" << rect(2 * p, y, kWidth, middle) << "\n"
      << "MiddleLeft" << look << "=" << rect(0, middle, kFrameSide, low) << "\n"
      << "MiddleRight" << look << "=" << rect(kWidth - kFrameSide, middle, kWidth, low) << "\n"
      << "BottomLeft" << look << "=" << rect(0, low, p, low + kFrameBottom) << "\n"
      << "MiddleBottom" << look << "=" << rect(p, low, 2 * p, low + kFrameBottom) << "\n"
      << "BottomRight" << look << "=" << rect(2 * p, low, kWidth, low + kFrameBottom) << "\n";
  return out.str();
}

Canvas drawFrameButtonStrip(const WindowButton& button, TextPainter& text) {
  const Canvas band = drawResourceBitmap({kBandBitmap, "band", kBandWidth, kBandHeight}, text);
  return drawButtonStrip(button, band, button.rect, text);
}

}  // namespace skingen
