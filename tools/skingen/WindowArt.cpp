#include "WindowArt.h"

#include "Glyphs.h"
#include "Theme.h"

#include <cmath>
#include <stdexcept>

namespace skingen {

namespace {

constexpr double kCaptionHeight = 76;  // the caption strip of every skinned window

// Design units to pixels of this picture.
class Scale {
 public:
  Scale(int width, int height) : m_x(width / 1024.0), m_y(height / 768.0) {}
  double x(double v) const { return v * m_x; }
  double y(double v) const { return v * m_y; }
  double size(double v) const { return v * std::min(m_x, m_y); }
  Box box(double l, double t, double r, double b) const { return {x(l), y(t), x(r), y(b)}; }

 private:
  double m_x, m_y;
};

void drawBase(Canvas& canvas, const Scale& s) {
  const double height = canvas.height(), width = canvas.width();
  // A faint light from the upper left over the vertical gradient.
  canvas.shade([&](int x, int y, Rgb) {
    const Rgb base = mix(theme::kBackgroundTop, theme::kBackgroundBottom, y / height);
    const double dx = (x - width * 0.25) / width, dy = (y - height * 0.2) / height;
    const double glow = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy) * 1.6);
    return mix(base, Rgb{36, 58, 74}, glow * 0.35);
  });
  canvas.fill(Shape::rect(0, 0, width, s.y(kCaptionHeight)),
              Paint::vertical(theme::kCaptionTop, theme::kCaptionBottom, 0, s.y(kCaptionHeight)));
  canvas.fill(Shape::rect(0, s.y(kCaptionHeight) - 1, width, s.y(kCaptionHeight)), Paint::solid(theme::kHairline));
}

void drawPanel(Canvas& canvas, const Box& box, double radius, Rgb inside) {
  canvas.fill(Shape::roundRect(box.left, box.top, box.right, box.bottom, radius), Paint::solid(theme::kPanelBorder));
  canvas.fill(Shape::roundRect(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, radius - 1),
              Paint::solid(inside));
}

// A recess framing a place the window fills itself (a video area, a list, a field).
void drawWell(Canvas& canvas, const Scale& s, const Rect& r, double margin, Rgb inside) {
  drawPanel(canvas, s.box(r.left - margin, r.top - margin, r.right + margin, r.bottom + margin), s.size(8), Rgb{28, 44, 58});
  canvas.fill(Shape::rect(s.x(r.left), s.y(r.top), s.x(r.right), s.y(r.bottom)), Paint::solid(inside));
}

// The video areas the description frames: black inside a dark rim.
void drawFrames(Canvas& canvas, const WindowSkin& skin, const Scale& s) {
  for (const Rect& r : skin.frames) drawWell(canvas, s, r, 4, theme::kVideoBlack);
}

void drawTitle(Canvas& canvas, const Scale& s, double left, const std::string& title, const std::string& subtitle,
               TextPainter& text) {
  const int big = static_cast<int>(s.size(26));
  const Box strip = s.box(left, 0, 800, kCaptionHeight);
  text.drawLeft(canvas, title, Weight::Bold, big, strip, theme::kText);
  const double after = strip.left + text.width(title, Weight::Bold, big) + s.x(18);
  text.drawLeft(canvas, subtitle, Weight::Regular, static_cast<int>(s.size(15)), {after, strip.top, strip.right, strip.bottom + s.y(3)},
                theme::kTextSoft);
}

void drawLauncher(Canvas& canvas, const WindowSkin& skin, const Scale& s, TextPainter& text) {
  // The maker's logo is drawn by the window at the left of the strip.
  drawTitle(canvas, s, 56, skin.title, "Television and video", text);
  text.drawLeft(canvas, "Choose an activity", Weight::Regular, static_cast<int>(s.size(16)), s.box(66, 116, 416, 146),
                theme::kTextSoft);
  if (skin.flash) {
    const Rect& r = skin.flash->rect;
    const Rgb inside{static_cast<std::uint8_t>(skin.flash->red), static_cast<std::uint8_t>(skin.flash->green),
                     static_cast<std::uint8_t>(skin.flash->blue)};
    drawPanel(canvas, s.box(r.left - 10, r.top - 10, r.right + 10, r.bottom + 10), s.size(16), inside);
    // Seen where the animation control is missing: a quiet picture of the program.
    const double cx = s.x((r.left + r.right) / 2.0), cy = s.y(r.top + r.height() * 0.42);
    const double size = s.size(r.height() * 0.36);
    canvas.fill(Shape::circle(cx, cy, size * 0.78), Paint::solid(mix(inside, theme::kAccentDeep, 0.18)));
    canvas.fill(glyph("tv", cx, cy, size), Paint::solid(mix(inside, theme::kAccent, 0.45)));
    text.drawCentred(canvas, "Live TV, recordings and pictures", Weight::Regular, static_cast<int>(s.size(18)),
                     {s.x(r.left), s.y(r.top + r.height() * 0.72), s.x(r.right), s.y(r.top + r.height() * 0.8)},
                     mix(inside, theme::kTextSoft, 0.8));
  }
  canvas.fill(Shape::rect(s.x(64), s.y(688), s.x(960), s.y(688) + 1), Paint::solid(theme::kHairline));
  const int small = static_cast<int>(s.size(14));
  text.drawLeft(canvas, "Watch, record and keep your pictures", Weight::Regular, small, s.box(64, 696, 600, 730),
                theme::kTextFaint);
  const std::string help = "F1  Help";
  text.drawLeft(canvas, help, Weight::Regular, small,
                {s.x(960) - text.width(help, Weight::Regular, small), s.y(696), s.x(960), s.y(730)}, theme::kTextFaint);
}

void drawTv(Canvas& canvas, const WindowSkin& skin, const Scale& s, TextPainter& text) {
  drawTitle(canvas, s, 76, skin.title, "Orvane Media", text);
  drawPanel(canvas, s.box(12, 88, 260, 644), s.size(14), theme::kPanel);
  drawFrames(canvas, skin, s);
  canvas.fill(Shape::rect(s.x(268), s.y(672), s.x(1010), s.y(672) + 1), Paint::solid(theme::kHairline));
}

// The channel window: the list, the video area and the slider band on panels, the hints
// under the list.
void drawChannel(Canvas& canvas, const WindowSkin& skin, const Scale& s, TextPainter& text) {
  drawTitle(canvas, s, 76, skin.title, "Orvane Media", text);
  drawPanel(canvas, s.box(12, 84, 1012, 128), s.size(10), theme::kPanel);
  drawPanel(canvas, s.box(12, 132, 140, 466), s.size(12), theme::kPanel);
  drawPanel(canvas, s.box(840, 132, 1012, 466), s.size(12), theme::kPanel);
  drawPanel(canvas, s.box(332, 612, 1012, 696), s.size(12), theme::kPanel);
  drawFrames(canvas, skin, s);
  const int small = static_cast<int>(s.size(14));
  text.drawLeft(canvas, "Click the first column to skip a channel, double-click a name to rename it.",
                Weight::Regular, small, s.box(148, 472, 831, 496), theme::kTextFaint);
  text.drawLeft(canvas, "Move channels with the buttons on the right; open and save lists on the left.",
                Weight::Regular, small, s.box(148, 496, 831, 520), theme::kTextFaint);
}

// The picture browser: the effect buttons and the sliders on panels at the left, the
// thumbnail strip and the picture framed at the right; each slider row has its icon.
void drawPic(Canvas& canvas, const WindowSkin& skin, const Scale& s, TextPainter& text) {
  drawTitle(canvas, s, 76, skin.title, "Orvane Media", text);
  drawPanel(canvas, s.box(12, 88, 300, 388), s.size(14), theme::kPanel);
  drawPanel(canvas, s.box(12, 412, 300, 584), s.size(14), theme::kPanel);
  for (const ListPlace& list : skin.lists) {
    const Rect& r = list.rect;
    drawPanel(canvas, s.box(r.left - 4, r.top - 4, r.right + 4, r.bottom + 4), s.size(8), Rgb{28, 44, 58});
    canvas.fill(Shape::rect(s.x(r.left), s.y(r.top), s.x(r.right), s.y(r.bottom)), Paint::solid(theme::kVideoBlack));
  }
  drawFrames(canvas, skin, s);
  // The slider rows of the window: lightness, hue, contrast, saturation.
  const struct {
    const char* icon;
    double top, bottom;
  } rows[] = {{"lightness", 463, 475}, {"hue", 494, 506}, {"contrast", 520, 532}, {"saturation", 549, 561}};
  for (const auto& row : rows)
    canvas.fill(glyph(row.icon, s.x(36), s.y((row.top + row.bottom) / 2), s.size(20)), Paint::solid(theme::kTextSoft));
  const int small = static_cast<int>(s.size(14));
  text.drawLeft(canvas, "Changes add up; Undo steps back.", Weight::Regular, small, s.box(24, 592, 300, 616),
                theme::kTextFaint);
}

// The settings hub and its pages: their panels and their video area, framed as the TV
// window's.
void drawSettings(Canvas& canvas, const WindowSkin& skin, const Scale& s, TextPainter& text) {
  drawTitle(canvas, s, 76, skin.title, skin.title == "Settings" ? "Orvane Media" : "Settings", text);
  for (const Rect& r : skin.panels) drawPanel(canvas, s.box(r.left, r.top, r.right, r.bottom), s.size(12), theme::kPanel);
  drawFrames(canvas, skin, s);
}

// The media player: the history list on a panel at the left with the way back under it,
// the video area framed, a hint under the picture above the docked bar.
void drawPlayer(Canvas& canvas, const WindowSkin& skin, const Scale& s, TextPainter& text) {
  drawTitle(canvas, s, 76, skin.title, "Recordings and files", text);
  for (const ListPlace& list : skin.lists) {
    const Rect& r = list.rect;
    drawPanel(canvas, s.box(r.left - 6, r.top - 30, r.right + 6, r.bottom + 6), s.size(12), theme::kPanel);
    text.drawLeft(canvas, "History", Weight::Bold, static_cast<int>(s.size(15)),
                  s.box(r.left + 4, r.top - 28, r.right, r.top - 4), theme::kTextSoft);
  }
  drawFrames(canvas, skin, s);
  text.drawLeft(canvas, "Double-click a recording to play it, the picture for full screen", Weight::Regular,
                static_cast<int>(s.size(14)), s.box(197, 660, 993, 690), theme::kTextFaint);
}

// Two panes side by side, each a panel holding its picture and room below for its slider
// and transport; a dark well under each thumbnail list.
void drawVideo(Canvas& canvas, const WindowSkin& skin, const Scale& s, TextPainter& text) {
  drawTitle(canvas, s, 76, skin.title, "Cut and join your recordings", text);
  for (const Rect& r : skin.frames) {
    drawPanel(canvas, s.box(r.left - 8, 184, r.right + 8, 608), s.size(14), theme::kPanel);
    drawWell(canvas, s, r, 4, theme::kVideoBlack);
  }
  for (const ListPlace& list : skin.lists) {
    const Rect& r = list.rect;
    drawPanel(canvas, s.box(r.left - 4, r.top - 4, r.right + 4, r.bottom + 4), s.size(8), theme::kVideoBlack);
  }
}

// The record plan list: the plan's list and the buttons that change it on panels, the
// live picture and the details of the selected entry below.
void drawPlans(Canvas& canvas, const WindowSkin& skin, const Scale& s, TextPainter& text) {
  drawTitle(canvas, s, 76, skin.title, "Settings", text);
  drawPanel(canvas, s.box(24, 84, 816, 492), s.size(14), theme::kPanel);
  drawPanel(canvas, s.box(832, 84, 1012, 468), s.size(14), theme::kPanel);
  for (const ListPlace& list : skin.lists) drawWell(canvas, s, list.rect, 4, theme::kVideoBlack);
  drawFrames(canvas, skin, s);
  const int small = static_cast<int>(s.size(14));
  text.drawLeft(canvas, "Click an entry to mark it for Change or Delete,", Weight::Regular, small,
                s.box(371, 696, 832, 716), theme::kTextFaint);
  text.drawLeft(canvas, "and once more to take the mark off.", Weight::Regular, small, s.box(371, 718, 832, 738),
                theme::kTextFaint);
}

// The schedule entry editor: one row per field on a panel, each value in a recess; the
// live picture below.
void drawEntry(Canvas& canvas, const WindowSkin& skin, const Scale& s, TextPainter& text) {
  drawTitle(canvas, s, 76, skin.title, "Record plans", text);
  drawPanel(canvas, s.box(24, 92, 1000, 500), s.size(14), theme::kPanel);
  for (const WindowEdit& edit : skin.edits) drawWell(canvas, s, edit.rect, 3, theme::kVideoBlack);
  drawFrames(canvas, skin, s);
  const int small = static_cast<int>(s.size(14));
  text.drawLeft(canvas, "Times are the PC's own; a planned recording wakes the PC from stand-by.", Weight::Regular,
                small, s.box(371, 540, 1000, 564), theme::kTextFaint);
}

// Texts the description places on the background.
void drawCaptions(Canvas& canvas, const WindowSkin& skin, const Scale& s, TextPainter& text) {
  for (const Caption& caption : skin.captions) {
    const Box box = s.box(caption.rect.left, caption.rect.top, caption.rect.right, caption.rect.bottom);
    const int size = text.fit(caption.text, Weight::Bold, static_cast<int>(s.size(15)), box.right - box.left);
    text.drawLeft(canvas, caption.text, Weight::Bold, size, box, theme::kTextSoft);
  }
}

}  // namespace

Canvas drawBackground(const WindowSkin& skin, int width, int height, TextPainter& text) {
  Canvas canvas(width, height, theme::kBackgroundBottom);
  const Scale s(width, height);
  drawBase(canvas, s);
  if (skin.kind == "launcher")
    drawLauncher(canvas, skin, s, text);
  else if (skin.kind == "tv")
    drawTv(canvas, skin, s, text);
  else if (skin.kind == "channel")
    drawChannel(canvas, skin, s, text);
  else if (skin.kind == "pic")
    drawPic(canvas, skin, s, text);
  else if (skin.kind == "settings")
    drawSettings(canvas, skin, s, text);
  else if (skin.kind == "player")
    drawPlayer(canvas, skin, s, text);
  else if (skin.kind == "video")
    drawVideo(canvas, skin, s, text);
  else if (skin.kind == "plans")
    drawPlans(canvas, skin, s, text);
  else if (skin.kind == "entry")
    drawEntry(canvas, skin, s, text);
  else
    throw std::runtime_error("no window painter called '" + skin.kind + "'");
  drawCaptions(canvas, skin, s, text);
  return canvas;
}

}  // namespace skingen
