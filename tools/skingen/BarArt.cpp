#include "BarArt.h"

#include "Faces.h"
#include "Theme.h"

namespace skingen {

namespace {

constexpr Rgb kOutside{11, 15, 20};  // never shown: the window region leaves it out
constexpr Rgb kWell{9, 13, 18};

double barRadius(const BarSkin& bar) { return bar.height * 0.28; }

Shape body(const BarSkin& bar) { return Shape::roundRect(0, 0, bar.width, bar.height, barRadius(bar)); }

Shape pill(const Rect& r) { return Shape::roundRect(r.left, r.top, r.right, r.bottom, r.height() / 2.0); }

Shape disc(const Rect& r) {
  return Shape::circle((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0, std::min(r.width(), r.height()) / 2.0);
}

Canvas drawBody(const BarSkin& bar, TextPainter& text) {
  Canvas canvas(bar.width, bar.height, kOutside);
  const double r = barRadius(bar);
  canvas.fill(body(bar), Paint::solid(Rgb{58, 76, 96}));
  canvas.fill(Shape::roundRect(1, 1, bar.width - 1, bar.height - 1, r - 1),
              Paint::vertical(Rgb{42, 56, 72}, Rgb{20, 28, 38}, 0, bar.height));
  for (const BarWell& well : bar.wells) {
    const Rect& w = well.rect;
    canvas.fill(Shape::roundRect(w.left, w.top, w.right, w.bottom, 6), Paint::solid(Rgb{34, 46, 60}));
    // Black inside, as the volume slider paints its own background.
    canvas.fill(Shape::roundRect(w.left + 1, w.top + 1, w.right - 1, w.bottom - 1, 5), Paint::solid(theme::kBlack));
    text.drawCentred(canvas, well.caption, Weight::Regular, 10, {double(w.left), w.top + 2.0, double(w.right), w.top + 16.0},
                     theme::kTextSoft);
  }
  return canvas;
}

void drawProgress(Canvas& canvas, const BarControl& progress, int state) {
  const Rect& r = progress.rect;
  canvas.fill(pill(r), Paint::solid(Rgb{40, 54, 70}));
  const Shape inner = Shape::roundRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, r.height() / 2.0 - 1);
  switch (state) {
    case 0: canvas.fill(inner, Paint::solid(kWell)); break;
    case 1: canvas.fill(inner, Paint::vertical(theme::kAccentLight, theme::kAccent, r.top, r.bottom)); break;
    case 2: canvas.fill(inner, Paint::vertical(theme::kAccent, theme::kAccentDeep, r.top, r.bottom)); break;
    default: canvas.fill(inner, Paint::solid(Rgb{62, 72, 84})); break;
  }
}

void drawButton(Canvas& canvas, const BarControl& button, int state) {
  static const theme::StateLook* const looks[] = {&theme::kNormal, &theme::kHover, &theme::kPressed,
                                                   &theme::kDisabled};
  const theme::StateLook& look = *looks[state];
  const Rect& r = button.rect;
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0, radius = std::min(r.width(), r.height()) / 2.0;
  canvas.fill(Shape::circle(cx, cy, radius), Paint::solid(look.rim));
  canvas.fill(Shape::circle(cx, cy, radius - 1), Paint::vertical(look.faceTop, look.faceBottom, r.top, r.bottom));
  Rgb ink = look.ink;
  if (button.icon == "record") ink = state == 3 ? Rgb{96, 58, 62} : theme::kRecord;
  drawGlyph(canvas, button.icon, cx, cy + (state == 2 ? 1 : 0), radius * 1.1, ink);
}

Canvas drawState(const Canvas& base, const BarSkin& bar, int state) {
  Canvas canvas = base;
  for (const BarControl& progress : bar.progressBars) drawProgress(canvas, progress, state);
  for (const BarControl& button : bar.buttons) drawButton(canvas, button, state);
  return canvas;
}

Canvas drawMask(const BarSkin& bar) {
  Canvas mask(bar.width, bar.height, theme::kMagenta);
  mask.fillExact(body(bar), theme::kBlack);
  for (const BarControl& progress : bar.progressBars) mask.fillExact(pill(progress.rect), kBarHitColour);
  for (const BarControl& button : bar.buttons) mask.fillExact(disc(button.rect), kBarHitColour);
  return mask;
}

}  // namespace

BarPictures drawBar(const BarSkin& bar, TextPainter& text) {
  const Canvas base = drawBody(bar, text);
  return {drawState(base, bar, 0), drawMask(bar), drawState(base, bar, 1), drawState(base, bar, 2),
          drawState(base, bar, 3)};
}

}  // namespace skingen
