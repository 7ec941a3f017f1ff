#include "ResourceArt.h"

#include "Faces.h"
#include "Glyphs.h"
#include "Theme.h"

#include <functional>
#include <map>
#include <stdexcept>

namespace skingen {

namespace {

constexpr Rgb kGroove{11, 16, 22};
constexpr Rgb kGrooveRim{46, 62, 80};
constexpr Rgb kTrackRim{28, 38, 50};
constexpr Rgb kTrack{78, 96, 116};
constexpr Rgb kThumbRim{20, 28, 38};

// A channel transparent by magenta: a track across the middle, in whole rows.
void groove(Canvas& c) {
  const int h = c.height(), w = c.width();
  const int top = h / 2 - h / 5, bottom = h / 2 + h / 5 + (h % 2);
  c.fillExact(Shape::rect(0, top, w, bottom), kTrackRim);
  c.fillExact(Shape::rect(0, top + 1, w, bottom - 1), kTrack);
}

// A round thumb on magenta, its rim cut hard so its edge never mixes with the key colour.
void knob(Canvas& c, Rgb top, Rgb bottom) {
  const double r = c.width() / 2.0;
  c.fillExact(Shape::circle(r, c.height() / 2.0, r), kThumbRim);
  c.fill(Shape::circle(r, c.height() / 2.0, r - 1.2), Paint::vertical(top, bottom, 0, c.height()));
}

void track(Canvas& c, bool active) {
  const double h = c.height(), w = c.width();
  c.fill(Shape::roundRect(0, 2, w, h - 2, (h - 4) / 2), Paint::solid(kGrooveRim));
  if (active)
    c.fill(Shape::roundRect(1, 3, w - 1, h - 3, (h - 6) / 2), Paint::vertical(theme::kAccent, theme::kAccentDeep, 3, h - 3));
  else
    c.fill(Shape::roundRect(1, 3, w - 1, h - 3, (h - 6) / 2), Paint::solid(kGroove));
}

void handle(Canvas& c, bool active) {
  const double h = c.height(), w = c.width();
  c.fillExact(Shape::roundRect(0, 0, w, h, 4), kThumbRim);
  const Rgb top = active ? theme::kAccentLight : Rgb{214, 224, 234};
  const Rgb bottom = active ? theme::kAccent : Rgb{150, 166, 182};
  c.fill(Shape::roundRect(1, 1, w - 1, h - 1, 3), Paint::vertical(top, bottom, 0, h));
  for (double x : {w / 2 - 3, w / 2, w / 2 + 3}) c.fill(Shape::rect(x - 0.5, 4, x + 0.5, h - 4), Paint::solid(kThumbRim), 0.6);
}

void noPicture(Canvas& c, TextPainter& text) {
  const double w = c.width(), h = c.height();
  c.fill(Shape::rect(0, 0, w, h), Paint::vertical(Rgb{30, 42, 56}, Rgb{14, 20, 27}, 0, h));
  drawGlyph(c, "tv", w / 2, h * 0.42, h * 0.42, Rgb{70, 92, 112});
  text.drawCentred(c, "No picture", Weight::Bold, static_cast<int>(h * 0.12), {0, h * 0.7, w, h * 0.86}, theme::kTextSoft);
}

void frame(Canvas& c, Rgb rim, const Paint& inside) {
  const double w = c.width(), h = c.height();
  c.fill(Shape::roundRect(0, 0, w, h, 3), Paint::solid(rim));
  c.fill(Shape::roundRect(1, 1, w - 1, h - 1, 2), inside);
}

// Four arrow buttons of 28 × 26 on white, which the combo box cuts its arrow's shape by,
// then the face frame for the rest of the strip.
void comboArrows(Canvas& c) {
  const double h = c.height();
  const theme::StateLook* looks[] = {&theme::kNormal, &theme::kHover, &theme::kPressed, &theme::kDisabled};
  for (int i = 0; i < 4; ++i) {
    const double left = i * 28.0;
    Canvas cell(28, c.height(), theme::kWhite);
    cell.fillExact(Shape::roundRect(0, 0, 28, h, 5), looks[i]->rim);
    cell.fill(Shape::roundRect(1, 1, 27, h - 1, 4), Paint::vertical(looks[i]->faceTop, looks[i]->faceBottom, 0, h));
    drawGlyph(cell, "down", 14, h / 2 + (i == 2 ? 1 : 0), 12, looks[i]->ink);
    c.paste(cell, static_cast<int>(left), 0);
  }
  Canvas rest(c.width() - 112, c.height(), theme::kPanel);
  frame(rest, kGrooveRim, Paint::solid(theme::kPanel));
  c.paste(rest, 112, 0);
}

void panel(Canvas& c) {
  const double w = c.width(), h = c.height();
  c.fill(Shape::roundRect(0, 0, w, h, 8), Paint::solid(theme::kPanelBorder));
  c.fill(Shape::roundRect(1, 1, w - 1, h - 1, 7), Paint::vertical(Rgb{30, 42, 56}, Rgb{18, 26, 35}, 0, h));
}

void band(Canvas& c) {
  const double w = c.width(), h = c.height();
  c.fill(Shape::rect(0, 0, w, h), Paint::vertical(Rgb{36, 48, 63}, Rgb{20, 28, 38}, 0, h));
  c.fill(Shape::rect(0, 0, w, 1), Paint::solid(theme::kHairline));
}

using BitmapPainter = std::function<void(Canvas&, TextPainter&)>;

const std::map<std::string, std::pair<Rgb, BitmapPainter>>& bitmapPainters() {
  static const std::map<std::string, std::pair<Rgb, BitmapPainter>> table = {
      {"groove", {theme::kMagenta, [](Canvas& c, TextPainter&) { groove(c); }}},
      {"knob", {theme::kMagenta, [](Canvas& c, TextPainter&) { knob(c, Rgb{226, 234, 242}, Rgb{150, 166, 182}); }}},
      // On black, the background of the sliders that use it: it looks right there even
      // where a slider draws it without its mask.
      {"darkknob", {theme::kBlack, [](Canvas& c, TextPainter&) { knob(c, Rgb{226, 234, 242}, Rgb{150, 166, 182}); }}},
      {"track", {theme::kPanel, [](Canvas& c, TextPainter&) { track(c, false); }}},
      {"trackactive", {theme::kPanel, [](Canvas& c, TextPainter&) { track(c, true); }}},
      {"handle", {theme::kMagenta, [](Canvas& c, TextPainter&) { handle(c, false); }}},
      {"handleactive", {theme::kMagenta, [](Canvas& c, TextPainter&) { handle(c, true); }}},
      {"nopicture", {theme::kBlack, noPicture}},
      // The channel list's focused cell, whose text is black: an accent rim round a pale inside.
      {"cellframe",
       {theme::kPanel,
        [](Canvas& c, TextPainter&) {
          const double w = c.width(), h = c.height();
          c.fill(Shape::roundRect(0, 0, w, h, 3), Paint::solid(theme::kAccentDeep));
          c.fill(Shape::roundRect(2, 2, w - 2, h - 2, 2), Paint::vertical(Rgb{250, 252, 253}, Rgb{206, 236, 242}, 2, h - 2));
        }}},
      {"comboarrows", {theme::kWhite, [](Canvas& c, TextPainter&) { comboArrows(c); }}},
      // The combo box writes black and, highlighted, blue on these: a readout's light face,
      // and a pale accent behind the list's chosen entry.
      {"comboface",
       {theme::kPanel,
        [](Canvas& c, TextPainter&) {
          frame(c, theme::kReadoutRim, Paint::vertical(theme::kReadoutTop, theme::kReadoutBottom, 0, c.height()));
        }}},
      {"comboselected",
       {theme::kPanel,
        [](Canvas& c, TextPainter&) {
          c.fill(Shape::rect(0, 0, c.width(), c.height()),
                 Paint::vertical(theme::kChosenTop, theme::kChosenBottom, 0, c.height()));
        }}},
      {"textpanel", {theme::kPanel, [](Canvas& c, TextPainter&) { panel(c); }}},
      {"band", {theme::kPanel, [](Canvas& c, TextPainter&) { band(c); }}},
  };
  return table;
}

// One image of an icon: the glyph on a tile (the program icon) or alone.
IconImage iconImage(const std::string& look, int size) {
  IconImage image{Canvas(size, size, Rgb{20, 30, 40}), Canvas(size, size, theme::kBlack)};
  const double s = size;
  auto cover = [&](const Shape& shape, const Paint& paint) {
    image.colour.fill(shape, paint);
    image.coverage.fill(shape, Paint::solid(theme::kWhite));
  };
  if (look == "app") {
    const Shape tile = Shape::roundRect(0.5, 0.5, s - 0.5, s - 0.5, s * 0.2);
    cover(tile, Paint::vertical(Rgb{70, 180, 198}, Rgb{30, 104, 124}, 0, s));
    image.colour.fill(glyph("tv", s / 2, s / 2, s * 0.66), Paint::solid(theme::kWhite));
  } else if (look == "folder" || look == "folderopen") {
    cover(glyph(look, s / 2, s / 2, s * 0.92), Paint::vertical(Rgb{240, 200, 110}, Rgb{206, 150, 60}, 0, s));
  } else if (look == "pointer") {
    cover(glyph("pointer", s / 2, s / 2, s * 0.8), Paint::vertical(theme::kAccentLight, theme::kAccentDeep, 0, s));
  } else {
    throw std::runtime_error("no icon look called '" + look + "'");
  }
  return image;
}

}  // namespace

Canvas drawResourceBitmap(const PictureResource& picture, TextPainter& text) {
  const auto it = bitmapPainters().find(picture.look);
  if (it == bitmapPainters().end()) throw std::runtime_error("no bitmap look called '" + picture.look + "'");
  Canvas canvas(picture.width, picture.height, it->second.first);
  it->second.second(canvas, text);
  return canvas;
}

Bytes drawResourceIcon(const PictureResource& icon) {
  return encodeIcon({iconImage(icon.look, 32), iconImage(icon.look, 16)});
}

}  // namespace skingen
