#include "ButtonArt.h"

#include "Faces.h"
#include "Theme.h"

#include <algorithm>
#include <array>
#include <utility>
#include <stdexcept>

namespace skingen {

namespace {

const std::array<const theme::StateLook*, 4> kStates = {&theme::kNormal, &theme::kHover, &theme::kPressed,
                                                        &theme::kDisabled};

// A caption-strip button: only its icon until the pointer is over it.
void drawCaptionButton(Canvas& image, const WindowButton& button, int state) {
  const double w = image.width(), h = image.height();
  const theme::StateLook& look = *kStates[state];
  if (state == 1 || state == 2) {
    theme::StateLook face = look;
    if (button.icon == "close" && state == 1) face = {theme::kCloseHover, theme::kCloseHover, theme::kCloseHover, theme::kText};
    drawFace(image, {1, 1, w - 1, h - 1}, h * 0.22, face);
  }
  const Rgb ink = state == 0 ? theme::kTextSoft : look.ink;
  const double shift = state == 2 ? 1 : 0;
  drawGlyph(image, button.icon, w / 2, h / 2 + shift, std::min(w, h) * 0.5, ink);
}

// A button with an icon and a caption in the look given, drawn pressed in state 2; the
// menu look sets the icon on a round badge.
void drawLabelledButton(Canvas& image, const WindowButton& button, int state, const theme::StateLook& look,
                        TextPainter& text) {
  const double w = image.width(), h = image.height();
  const bool menu = button.look == "menu";
  drawFace(image, {0, 0, w, h}, h * (menu ? 0.2 : 0.18), look);
  const double shift = state == 2 ? 1 : 0;
  const double iconX = menu ? h * 0.58 : h * 0.52;
  const double cy = h / 2 + shift;
  if (menu) {
    const Rgb badge = state == 3 ? Rgb{34, 42, 51} : state == 1 ? theme::kAccentDeep : Rgb{33, 70, 86};
    image.fill(Shape::circle(iconX, cy, h * 0.34), Paint::solid(badge));
  }
  drawGlyph(image, button.icon, iconX, cy, h * (menu ? 0.44 : 0.46), look.ink);
  const double textLeft = menu ? h * 1.15 : h * 0.98;
  const double room = w - textLeft - h * (menu ? 0.6 : 0.2);
  const int size = text.fit(button.caption, Weight::Bold, static_cast<int>(h * (menu ? 0.34 : 0.31)), room);
  text.drawLeft(image, button.caption, Weight::Bold, size, {textLeft, shift, w, h + shift}, look.ink);
  if (menu && state == 1) drawGlyph(image, "pointer", w - h * 0.4, cy, h * 0.22, theme::kAccentLight);
}

}  // namespace

Canvas drawButtonStrip(const WindowButton& button, const Canvas& background, const Rect& place, TextPainter& text) {
  const int w = place.width(), h = place.height();
  Canvas strip(w * 4, h, theme::kBackgroundBottom);
  for (int state = 0; state < 4; ++state) {
    Canvas image = background.crop(place.left, place.top, w, h, theme::kBackgroundBottom);
    if (button.look == "caption")
      drawCaptionButton(image, button, state);
    else if (button.look == "menu" || button.look == "side")
      drawLabelledButton(image, button, state, *kStates[state], text);
    else
      throw std::runtime_error("no button look called '" + button.look + "'");
    strip.paste(image, state * w, 0);
  }
  return strip;
}

Canvas drawLatchStrip(const WindowButton& button, const Canvas& background, TextPainter& text) {
  // Normal, hover, checked, checked under the pointer, disabled: a checked button stays
  // pressed in, its rim lit.
  const theme::StateLook checkedHover{theme::kHover.faceTop, theme::kHover.faceBottom, theme::kAccentLight,
                                      theme::kAccentLight};
  const std::array<std::pair<int, const theme::StateLook*>, 5> states = {
      {{0, &theme::kNormal}, {1, &theme::kHover}, {2, &theme::kPressed}, {2, &checkedHover}, {3, &theme::kDisabled}}};
  const Rect& place = button.rect;
  const int w = place.width(), h = place.height();
  Canvas strip(w * static_cast<int>(states.size()), h, theme::kBackgroundBottom);
  for (std::size_t i = 0; i < states.size(); ++i) {
    Canvas image = background.crop(place.left, place.top, w, h, theme::kBackgroundBottom);
    drawLabelledButton(image, button, states[i].first, *states[i].second, text);
    strip.paste(image, static_cast<int>(i) * w, 0);
  }
  return strip;
}

}  // namespace skingen
