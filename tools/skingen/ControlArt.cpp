#include "ControlArt.h"

#include "Theme.h"

#include <algorithm>

namespace skingen {

namespace {

void drawRadio(Canvas& image, bool checked, const std::string& caption, TextPainter& text) {
  const double w = image.width(), h = image.height();
  const theme::StateLook& look = checked ? theme::kHover : theme::kNormal;
  image.fill(Shape::roundRect(0, 0, w, h, h * 0.5), Paint::solid(look.rim));
  image.fill(Shape::roundRect(1, 1, w - 1, h - 1, h * 0.5 - 1), Paint::vertical(look.faceTop, look.faceBottom, 0, h));
  const double cx = h * 0.5, cy = h * 0.5;
  image.fill(Shape::ring(cx, cy, h * 0.3, h * 0.3 - 2), Paint::solid(checked ? theme::kAccent : theme::kTextSoft));
  if (checked) image.fill(Shape::circle(cx, cy, h * 0.16), Paint::solid(theme::kAccentLight));
  const double left = h * 0.95;
  const int size = text.fit(caption, Weight::Bold, static_cast<int>(h * 0.42), w - left - h * 0.3);
  text.drawLeft(image, caption, Weight::Bold, size, {left, 0, w, h}, checked ? theme::kText : theme::kTextSoft);
}

Canvas drawReadout(int width, int height, Rgb rim, Rgb top, Rgb bottom) {
  Canvas panel(width, height, theme::kBackgroundBottom);
  const double w = width, h = height, radius = std::min(5.0, h / 3);
  panel.fill(Shape::roundRect(0, 0, w, h, radius), Paint::solid(rim));
  panel.fill(Shape::roundRect(1, 1, w - 1, h - 1, radius - 1), Paint::vertical(top, bottom, 0, h));
  return panel;
}

}  // namespace

Canvas drawLabelPanel(int width, int height) { return drawReadout(width, height, theme::kReadoutRim, theme::kReadoutTop, theme::kReadoutBottom); }

Canvas drawDarkLabelPanel(int width, int height) {
  return drawReadout(width, height, theme::kPanelBorder, Rgb{16, 26, 35}, Rgb{24, 38, 50});
}

Canvas drawRadioPicture(int width, int height, const std::string& caption, TextPainter& text) {
  return drawRadioPicture(Canvas(width, height, theme::kBackgroundBottom), {0, 0, width, height}, caption, text);
}

Canvas drawRadioPicture(const Canvas& background, const Rect& place, const std::string& caption, TextPainter& text) {
  const int width = place.width(), height = place.height();
  Canvas picture(2 * width, height, theme::kBackgroundBottom);
  for (int checked = 0; checked < 2; ++checked) {
    Canvas image = background.crop(place.left, place.top, width, height, theme::kBackgroundBottom);
    drawRadio(image, checked == 1, caption, text);
    picture.paste(image, checked * width, 0);
  }
  return picture;
}

}  // namespace skingen
