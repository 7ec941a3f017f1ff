#include "RadioArt.h"

#include "Faces.h"
#include "Theme.h"

#include <algorithm>

namespace skingen {

namespace {

constexpr int kStates = 5;

// The checked face: the pressed look with the accent rim, lighter under the pointer.
constexpr theme::StateLook kChecked{{30, 62, 74}, {24, 50, 62}, theme::kAccentDeep, theme::kAccentLight};
constexpr theme::StateLook kCheckedHover{{36, 76, 90}, {29, 62, 76}, theme::kAccent, theme::kText};

const theme::StateLook& lookOf(int state) {
  switch (state) {
    case 1: return theme::kHover;
    case 2: return kChecked;
    case 3: return kCheckedHover;
    case 4: return theme::kDisabled;
    default: return theme::kNormal;
  }
}

}  // namespace

Canvas drawRadioStrip(const WindowButton& button, const Canvas& background, TextPainter& text) {
  const Rect& place = button.rect;
  const int w = place.width(), h = place.height();
  Canvas strip(w * kStates, h, theme::kBackgroundBottom);
  for (int state = 0; state < kStates; ++state) {
    Canvas image = background.crop(place.left, place.top, w, h, theme::kBackgroundBottom);
    const theme::StateLook& look = lookOf(state);
    const bool checked = state == 2 || state == 3;
    drawFace(image, {0, 0, double(w), double(h)}, h * 0.18, look);
    const double cy = h / 2.0;
    drawGlyph(image, button.icon, h * 0.52, cy, h * 0.46, look.ink);
    // The lamp: dark when off, the accent when this track is chosen.
    const double lamp = h * 0.12;
    image.fill(Shape::circle(w - h * 0.4, cy, lamp + 1), Paint::solid(look.rim));
    image.fill(Shape::circle(w - h * 0.4, cy, lamp), Paint::solid(checked ? theme::kAccent : theme::kPanel));
    const double textLeft = h * 0.98;
    const double room = w - textLeft - h * 0.7;
    const int size = text.fit(button.caption, Weight::Bold, static_cast<int>(h * 0.31), room);
    text.drawLeft(image, button.caption, Weight::Bold, size, {textLeft, 0, w - h * 0.7, double(h)}, look.ink);
    strip.paste(image, state * w, 0);
  }
  return strip;
}

}  // namespace skingen
