#include "Glyphs.h"

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <stdexcept>

namespace skingen {

namespace {

// Builds shapes in a unit square [-1, 1] × [-1, 1] mapped onto the glyph's square.
class Pen {
 public:
  Pen(double cx, double cy, double size) : m_cx(cx), m_cy(cy), m_s(size / 2) {}

  Point p(double x, double y) const { return {m_cx + x * m_s, m_cy + y * m_s}; }
  double d(double v) const { return v * m_s; }

  Shape rect(double l, double t, double r, double b) const {
    return Shape::rect(p(l, t).x, p(l, t).y, p(r, b).x, p(r, b).y);
  }
  Shape round(double l, double t, double r, double b, double radius) const {
    return Shape::roundRect(p(l, t).x, p(l, t).y, p(r, b).x, p(r, b).y, d(radius));
  }
  Shape circle(double x, double y, double radius) const { return Shape::circle(p(x, y).x, p(x, y).y, d(radius)); }
  Shape ellipse(double x, double y, double rx, double ry) const {
    return Shape::ellipse(p(x, y).x, p(x, y).y, d(rx), d(ry));
  }
  Shape ring(double x, double y, double outer, double inner) const {
    return Shape::ring(p(x, y).x, p(x, y).y, d(outer), d(inner));
  }
  Shape arc(double x, double y, double outer, double inner, double from, double to) const {
    return Shape::arc(p(x, y).x, p(x, y).y, d(outer), d(inner), from, to);
  }
  Shape line(double x1, double y1, double x2, double y2, double thickness) const {
    return Shape::segment(p(x1, y1), p(x2, y2), d(thickness));
  }
  Shape poly(std::initializer_list<Point> unit) const {
    std::vector<Point> points;
    for (const Point& u : unit) points.push_back(p(u.x, u.y));
    return Shape::polygon(std::move(points));
  }

 private:
  double m_cx, m_cy, m_s;
};

constexpr double kStroke = 0.17;

Shape speaker(const Pen& g) {
  return g.poly({{-0.9, -0.28}, {-0.52, -0.28}, {-0.12, -0.68}, {-0.12, 0.68}, {-0.52, 0.28}, {-0.9, 0.28}});
}

Shape gear(const Pen& g) {
  Shape shape = g.ring(0, 0, 0.62, 0.27);
  for (int i = 0; i < 8; ++i) {
    const double a = i * std::numbers::pi / 4;
    const double c = std::cos(a), s = std::sin(a);
    auto at = [&](double along, double across) { return Point{along * c - across * s, along * s + across * c}; };
    const Point p1 = at(0.5, -0.15), p2 = at(0.92, -0.12), p3 = at(0.92, 0.12), p4 = at(0.5, 0.15);
    shape = shape | g.poly({p1, p2, p3, p4});
  }
  return shape;
}

using Maker = std::function<Shape(const Pen&)>;

const std::map<std::string, Maker>& makers() {
  static const std::map<std::string, Maker> table = {
      {"help",
       [](const Pen& g) {
         return g.arc(0, -0.32, 0.5, 0.3, -50, 190) | g.line(0.27, -0.02, 0.0, 0.2, 0.2) |
                g.line(0.0, 0.2, 0.0, 0.36, 0.2) | g.circle(0, 0.68, 0.13);
       }},
      {"minimise", [](const Pen& g) { return g.line(-0.6, 0.5, 0.6, 0.5, 0.2); }},
      {"maximise",
       [](const Pen& g) { return g.round(-0.62, -0.62, 0.62, 0.62, 0.08) - g.rect(-0.44, -0.3, 0.44, 0.44); }},
      {"close",
       [](const Pen& g) { return g.line(-0.55, -0.55, 0.55, 0.55, 0.2) | g.line(0.55, -0.55, -0.55, 0.55, 0.2); }},
      {"home",
       [](const Pen& g) {
         return g.poly({{-0.9, 0.02}, {0, -0.8}, {0.9, 0.02}, {0.7, 0.02}, {0, -0.58}, {-0.7, 0.02}}) |
                (g.rect(-0.55, -0.08, 0.55, 0.75) - g.rect(-0.16, 0.28, 0.16, 0.75));
       }},
      {"tv",
       [](const Pen& g) {
         return (g.round(-0.9, -0.68, 0.9, 0.46, 0.12) - g.round(-0.72, -0.51, 0.72, 0.29, 0.05)) |
                g.line(-0.42, 0.68, 0.42, 0.68, kStroke) | g.rect(-0.08, 0.44, 0.08, 0.66);
       }},
      {"film",
       [](const Pen& g) {
         Shape strip = g.round(-0.85, -0.68, 0.85, 0.68, 0.08) - g.rect(-0.5, -0.52, 0.5, 0.52);
         for (double y : {-0.44, -0.15, 0.15, 0.44})
           strip = strip - g.rect(-0.74, y - 0.08, -0.6, y + 0.08) - g.rect(0.6, y - 0.08, 0.74, y + 0.08);
         return strip | g.poly({{-0.18, -0.28}, {0.28, 0}, {-0.18, 0.28}});
       }},
      {"picture",
       [](const Pen& g) {
         return (g.round(-0.88, -0.68, 0.88, 0.68, 0.08) - g.rect(-0.7, -0.5, 0.7, 0.5)) |
                g.poly({{-0.7, 0.5}, {-0.26, -0.12}, {0.06, 0.26}, {0.3, 0.02}, {0.7, 0.5}}) |
                g.circle(0.36, -0.22, 0.13);
       }},
      {"scissors",
       [](const Pen& g) {
         return g.ring(-0.45, 0.52, 0.28, 0.14) | g.ring(0.45, 0.52, 0.28, 0.14) |
                g.line(-0.28, 0.3, 0.42, -0.8, 0.17) | g.line(0.28, 0.3, -0.42, -0.8, 0.17);
       }},
      {"gear", gear},
      {"globe",
       [](const Pen& g) {
         const Shape outline = g.ring(0, 0, 0.86, 0.7);
         const Shape meridian = g.ellipse(0, 0, 0.4, 0.86) - g.ellipse(0, 0, 0.26, 0.72);
         return outline | meridian | g.line(-0.78, 0, 0.78, 0, 0.13) | g.line(-0.62, -0.42, 0.62, -0.42, 0.11) |
                g.line(-0.62, 0.42, 0.62, 0.42, 0.11);
       }},
      {"fullscreen",
       [](const Pen& g) {
         Shape corners = g.line(-0.8, -0.8, -0.3, -0.8, kStroke);
         for (double sx : {-1.0, 1.0})
           for (double sy : {-1.0, 1.0})
             corners = corners | g.line(0.8 * sx, 0.8 * sy, 0.3 * sx, 0.8 * sy, kStroke) |
                       g.line(0.8 * sx, 0.8 * sy, 0.8 * sx, 0.3 * sy, kStroke);
         return corners | g.round(-0.35, -0.25, 0.35, 0.25, 0.05);
       }},
      {"channels",
       [](const Pen& g) {
         Shape list = g.circle(-0.68, -0.55, 0.12);
         for (double y : {-0.55, 0.0, 0.55}) list = list | g.circle(-0.68, y, 0.12) | g.line(-0.36, y, 0.8, y, kStroke);
         return list;
       }},
      {"window",
       [](const Pen& g) {
         return (g.round(-0.86, -0.7, 0.86, 0.7, 0.1) - g.rect(-0.7, -0.34, 0.7, 0.54)) |
                g.poly({{-0.2, -0.14}, {0.3, 0.1}, {-0.2, 0.34}});
       }},
      {"wall",
       [](const Pen& g) {
         Shape grid = g.round(-0.83, -0.83, -0.33, -0.33, 0.06);
         for (double x : {-0.58, 0.0, 0.58})
           for (double y : {-0.58, 0.0, 0.58}) grid = grid | g.round(x - 0.25, y - 0.25, x + 0.25, y + 0.25, 0.06);
         return grid;
       }},
      {"back",
       [](const Pen& g) {
         return g.poly({{-0.85, 0}, {-0.25, -0.55}, {-0.25, 0.55}}) | g.line(-0.4, 0, 0.78, 0, 0.22);
       }},
      {"play", [](const Pen& g) { return g.poly({{-0.42, -0.66}, {0.72, 0}, {-0.42, 0.66}}); }},
      {"pause", [](const Pen& g) { return g.round(-0.52, -0.6, -0.16, 0.6, 0.06) | g.round(0.16, -0.6, 0.52, 0.6, 0.06); }},
      {"stop", [](const Pen& g) { return g.round(-0.52, -0.52, 0.52, 0.52, 0.08); }},
      {"rewind",
       [](const Pen& g) {
         return g.poly({{0.02, -0.56}, {0.02, 0.56}, {-0.78, 0}}) | g.poly({{0.8, -0.56}, {0.8, 0.56}, {0.02, 0}});
       }},
      {"forward",
       [](const Pen& g) {
         return g.poly({{-0.02, -0.56}, {-0.02, 0.56}, {0.78, 0}}) | g.poly({{-0.8, -0.56}, {-0.8, 0.56}, {-0.02, 0}});
       }},
      {"softer", [](const Pen& g) { return speaker(g) | g.line(0.22, 0, 0.82, 0, kStroke); }},
      {"louder",
       [](const Pen& g) { return speaker(g) | g.line(0.22, 0, 0.82, 0, kStroke) | g.line(0.52, -0.3, 0.52, 0.3, kStroke); }},
      {"mute",
       [](const Pen& g) {
         return speaker(g) | g.line(0.25, -0.3, 0.8, 0.3, kStroke) | g.line(0.8, -0.3, 0.25, 0.3, kStroke);
       }},
      {"record", [](const Pen& g) { return g.circle(0, 0, 0.56); }},
      {"camera",
       [](const Pen& g) {
         return ((g.round(-0.88, -0.46, 0.88, 0.62, 0.12) | g.round(-0.36, -0.68, 0.2, -0.3, 0.06)) -
                 g.circle(0, 0.08, 0.4)) |
                g.circle(0, 0.08, 0.22);
       }},
      {"channelup",
       [](const Pen& g) { return g.rect(-0.56, -0.72, 0.56, -0.52) | g.poly({{-0.56, 0.66}, {0.56, 0.66}, {0, -0.42}}); }},
      {"channeldown",
       [](const Pen& g) { return g.rect(-0.56, 0.52, 0.56, 0.72) | g.poly({{-0.56, -0.66}, {0.56, -0.66}, {0, 0.42}}); }},
      {"recall",
       [](const Pen& g) {
         return g.arc(0, 0.05, 0.72, 0.5, 40, 320) | g.poly({{0.22, -0.62}, {0.9, -0.72}, {0.7, -0.08}});
       }},
      {"down", [](const Pen& g) { return g.poly({{-0.6, -0.32}, {0.6, -0.32}, {0, 0.4}}); }},
      // The video editor's cut marks, its emptied project and its saved film.
      {"markin",
       [](const Pen& g) {
         return g.rect(-0.8, -0.75, -0.56, 0.75) | g.rect(-0.8, -0.75, -0.3, -0.53) | g.rect(-0.8, 0.53, -0.3, 0.75) |
                g.poly({{-0.1, -0.45}, {0.75, 0}, {-0.1, 0.45}});
       }},
      {"markout",
       [](const Pen& g) {
         return g.rect(0.56, -0.75, 0.8, 0.75) | g.rect(0.3, -0.75, 0.8, -0.53) | g.rect(0.3, 0.53, 0.8, 0.75) |
                g.poly({{0.1, -0.45}, {-0.75, 0}, {0.1, 0.45}});
       }},
      {"trash",
       [](const Pen& g) {
         return g.rect(-0.72, -0.6, 0.72, -0.44) | g.rect(-0.22, -0.78, 0.22, -0.6) |
                (g.round(-0.55, -0.34, 0.55, 0.8, 0.08) - g.rect(-0.31, -0.16, -0.17, 0.6) -
                 g.rect(-0.07, -0.16, 0.07, 0.6) - g.rect(0.17, -0.16, 0.31, 0.6));
       }},
      {"export",
       [](const Pen& g) {
         return (g.round(-0.82, -0.1, 0.82, 0.8, 0.08) - g.rect(-0.62, -0.3, 0.62, 0.6)) | g.line(0, 0.36, 0, -0.5, 0.2) |
                g.poly({{-0.42, -0.36}, {0, -0.84}, {0.42, -0.36}});
       }},
      {"pointer", [](const Pen& g) { return g.poly({{-0.5, -0.7}, {0.7, 0}, {-0.5, 0.7}}); }},
      {"folder",
       [](const Pen& g) {
         return g.poly({{-0.9, -0.62}, {-0.35, -0.62}, {-0.2, -0.45}, {0.9, -0.45}, {0.9, 0.7}, {-0.9, 0.7}});
       }},
      // The channel window's.
      {"up", [](const Pen& g) { return g.poly({{-0.6, 0.32}, {0.6, 0.32}, {0, -0.4}}); }},
      {"left", [](const Pen& g) { return g.poly({{0.32, -0.6}, {0.32, 0.6}, {-0.4, 0}}); }},
      {"right", [](const Pen& g) { return g.poly({{-0.32, -0.6}, {-0.32, 0.6}, {0.4, 0}}); }},
      {"scan",
       [](const Pen& g) {
         return g.circle(0, 0.45, 0.15) | g.arc(0, 0.45, 0.6, 0.44, 35, 145) | g.arc(0, 0.45, 1.0, 0.84, 40, 140) |
                g.line(0, 0.45, 0, 0.9, kStroke);
       }},
      {"save",
       [](const Pen& g) {
         return (g.round(-0.76, -0.76, 0.76, 0.76, 0.1) - g.rect(-0.42, -0.76, 0.38, -0.22) -
                 g.rect(-0.5, 0.14, 0.5, 0.76)) |
                g.rect(0.12, -0.66, 0.28, -0.32);
       }},
      // The settings windows'.
      {"clock",
       [](const Pen& g) {
         return g.ring(0, 0, 0.86, 0.68) | g.line(0, 0, 0, -0.5, kStroke) | g.line(0, 0, 0.38, 0.22, kStroke);
       }},
      {"sliders",
       [](const Pen& g) {
         Shape shape = g.circle(-0.3, -0.55, 0.2) | g.circle(0.35, 0, 0.2) | g.circle(-0.1, 0.55, 0.2);
         for (double y : {-0.55, 0.0, 0.55}) shape = shape | g.line(-0.85, y, 0.85, y, 0.1);
         return shape;
       }},
      {"folderopen",
       [](const Pen& g) {
         return g.poly({{-0.9, -0.62}, {-0.35, -0.62}, {-0.2, -0.45}, {0.7, -0.45}, {0.7, -0.15}, {-0.6, -0.15},
                        {-0.9, 0.6}}) |
                g.poly({{-0.62, -0.05}, {0.98, -0.05}, {0.7, 0.7}, {-0.9, 0.7}});
       }},
      // The picture browser's.
      {"smooth",
       [](const Pen& g) {
         return g.arc(-0.42, 0.12, 0.5, 0.32, 200, 340) | g.arc(0.42, -0.12, 0.5, 0.32, 20, 160) |
                g.line(-0.85, 0.7, 0.85, 0.7, 0.12);
       }},
      {"noise",
       [](const Pen& g) {
         return g.circle(-0.55, -0.5, 0.14) | g.circle(0.1, -0.62, 0.12) | g.circle(0.6, -0.2, 0.14) |
                g.circle(-0.25, 0.05, 0.12) | g.circle(-0.65, 0.55, 0.12) | g.circle(0.25, 0.5, 0.14) |
                g.line(-0.9, 0.9, 0.9, -0.9, 0.1);
       }},
      {"histogram",
       [](const Pen& g) {
         return g.rect(-0.8, 0.1, -0.5, 0.75) | g.rect(-0.4, -0.5, -0.1, 0.75) | g.rect(0.0, -0.2, 0.3, 0.75) |
                g.rect(0.4, -0.75, 0.7, 0.75) | g.line(-0.9, 0.82, 0.9, 0.82, 0.1);
       }},
      {"lightness",
       [](const Pen& g) {
         Shape sun = g.circle(0, 0, 0.34);
         for (int i = 0; i < 8; ++i) {
           const double a = i * std::numbers::pi / 4, c = std::cos(a), n = std::sin(a);
           sun = sun | g.line(0.52 * c, 0.52 * n, 0.86 * c, 0.86 * n, 0.14);
         }
         return sun;
       }},
      {"hue",
       [](const Pen& g) {
         return g.arc(0, 0, 0.85, 0.45, 0, 100) | g.arc(0, 0, 0.85, 0.45, 120, 220) | g.arc(0, 0, 0.85, 0.45, 240, 340);
       }},
      {"contrast", [](const Pen& g) { return g.ring(0, 0, 0.82, 0.66) | g.arc(0, 0, 0.66, 0, 90, 270); }},
      {"saturation",
       [](const Pen& g) { return g.circle(0, 0.28, 0.52) | g.poly({{-0.47, 0.08}, {0, -0.86}, {0.47, 0.08}}); }},
      {"undo",
       [](const Pen& g) {
         return g.arc(0.05, 0.12, 0.7, 0.5, 200, 360) | g.arc(0.05, 0.12, 0.7, 0.5, 0, 20) |
                g.poly({{-0.95, -0.1}, {-0.35, -0.1}, {-0.65, 0.45}});
       }},
      // The record plan list's.
      {"plus", [](const Pen& g) { return g.line(-0.66, 0, 0.66, 0, 0.22) | g.line(0, -0.66, 0, 0.66, 0.22); }},
      {"pencil",
       [](const Pen& g) {
         return g.poly({{-0.78, 0.78}, {-0.72, 0.38}, {0.42, -0.76}, {0.76, -0.42}, {-0.38, 0.72}}) -
                g.line(0.2, -0.54, 0.54, -0.2, 0.08);
       }},
      {"cross", [](const Pen& g) { return g.line(-0.58, -0.58, 0.58, 0.58, 0.22) | g.line(-0.58, 0.58, 0.58, -0.58, 0.22); }},
      {"bin",
       [](const Pen& g) {
         return (g.poly({{-0.56, -0.4}, {0.56, -0.4}, {0.44, 0.82}, {-0.44, 0.82}}) - g.rect(-0.26, -0.2, -0.14, 0.62) -
                 g.rect(0.14, -0.2, 0.26, 0.62)) |
                g.rect(-0.72, -0.62, 0.72, -0.48) | g.rect(-0.2, -0.8, 0.2, -0.62);
       }},
  };
  return table;
}

}  // namespace

Shape glyph(const std::string& name, double cx, double cy, double size) {
  const auto it = makers().find(name);
  if (it == makers().end()) throw std::runtime_error("no icon called '" + name + "'");
  return it->second(Pen(cx, cy, size));
}

bool hasGlyph(const std::string& name) { return makers().count(name) > 0; }

}  // namespace skingen
