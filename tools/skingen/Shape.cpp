#include "Shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skingen {

Shape Shape::rect(double left, double top, double right, double bottom) {
  return Shape({left, top, right, bottom},
               [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; });
}

Shape Shape::roundRect(double left, double top, double right, double bottom, double radius) {
  radius = std::min({radius, (right - left) / 2, (bottom - top) / 2});
  return Shape({left, top, right, bottom}, [=](double x, double y) {
    if (x < left || x >= right || y < top || y >= bottom) return false;
    const double cx = std::clamp(x, left + radius, right - radius);
    const double cy = std::clamp(y, top + radius, bottom - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
  });
}

Shape Shape::circle(double cx, double cy, double radius) { return ellipse(cx, cy, radius, radius); }

Shape Shape::ellipse(double cx, double cy, double rx, double ry) {
  return Shape({cx - rx, cy - ry, cx + rx, cy + ry}, [=](double x, double y) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  });
}

Shape Shape::ring(double cx, double cy, double outer, double inner) {
  return circle(cx, cy, outer) - circle(cx, cy, inner);
}

Shape Shape::arc(double cx, double cy, double outer, double inner, double from, double to) {
  const Shape band = ring(cx, cy, outer, inner);
  return Shape(band.bounds(), [=](double x, double y) {
    if (!band.contains(x, y)) return false;
    double angle = std::atan2(cy - y, x - cx) * 180.0 / std::numbers::pi;
    if (angle < from) angle += 360.0;
    return angle >= from && angle <= to;
  });
}

Shape Shape::polygon(std::vector<Point> points) {
  Box box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const Point& p : points) {
    box.left = std::min(box.left, p.x);
    box.top = std::min(box.top, p.y);
    box.right = std::max(box.right, p.x);
    box.bottom = std::max(box.bottom, p.y);
  }
  return Shape(box, [points = std::move(points)](double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Point& a = points[i];
      const Point& b = points[j];
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
  });
}

Shape Shape::segment(Point a, Point b, double thickness) {
  const double r = thickness / 2;
  const Box box{std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r};
  return Shape(box, [=](double x, double y) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    const double px = a.x + t * dx - x, py = a.y + t * dy - y;
    return px * px + py * py <= r * r;
  });
}

Shape Shape::operator|(const Shape& other) const {
  const Box box{std::min(m_bounds.left, other.m_bounds.left), std::min(m_bounds.top, other.m_bounds.top),
                std::max(m_bounds.right, other.m_bounds.right), std::max(m_bounds.bottom, other.m_bounds.bottom)};
  return Shape(box, [a = *this, b = other](double x, double y) { return a.contains(x, y) || b.contains(x, y); });
}

Shape Shape::operator-(const Shape& other) const {
  return Shape(m_bounds, [a = *this, b = other](double x, double y) { return a.contains(x, y) && !b.contains(x, y); });
}

}  // namespace skingen
