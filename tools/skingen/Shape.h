// An area of the plane for the painters: a test of whether a point lies inside and the
// box that holds every such point. Shapes are built from rounded rectangles, circles,
// polygons and thick segments, and combined by union and difference.
#pragma once

#include <functional>
#include <vector>

namespace skingen {

struct Point {
  double x = 0, y = 0;
};

struct Box {
  double left = 0, top = 0, right = 0, bottom = 0;
};

class Shape {
 public:
  using Test = std::function<bool(double, double)>;

  Shape(Box bounds, Test inside) : m_bounds(bounds), m_inside(std::move(inside)) {}

  static Shape rect(double left, double top, double right, double bottom);
  static Shape roundRect(double left, double top, double right, double bottom, double radius);
  static Shape circle(double cx, double cy, double radius);
  static Shape ellipse(double cx, double cy, double rx, double ry);
  static Shape ring(double cx, double cy, double outer, double inner);
  // A ring cut to the angles [from, to] (degrees, counter-clockwise from the right).
  static Shape arc(double cx, double cy, double outer, double inner, double from, double to);
  // A closed polygon, by the even-odd rule.
  static Shape polygon(std::vector<Point> points);
  // A segment of the given thickness with round ends.
  static Shape segment(Point a, Point b, double thickness);

  Shape operator|(const Shape& other) const;
  Shape operator-(const Shape& other) const;

  const Box& bounds() const { return m_bounds; }
  bool contains(double x, double y) const { return m_inside(x, y); }

 private:
  Box m_bounds;
  Test m_inside;
};

}  // namespace skingen
