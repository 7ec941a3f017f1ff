#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

constexpr int kSamples = 4;

struct Span {
  int first, last;  // pixels, last excluded
};

Span span(double from, double to, int limit) {
  return {std::clamp(static_cast<int>(std::floor(from)), 0, limit),
          std::clamp(static_cast<int>(std::ceil(to)), 0, limit)};
}

}  // namespace

Canvas::Canvas(int width, int height, Rgb background)
    : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height, background) {}

void Canvas::fill(const Shape& shape, const Paint& paint, double opacity) {
  const Box& box = shape.bounds();
  const Span xs = span(box.left, box.right, m_width);
  const Span ys = span(box.top, box.bottom, m_height);
  for (int y = ys.first; y < ys.last; ++y) {
    const Rgb colour = paint.at(y + 0.5);
    for (int x = xs.first; x < xs.last; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx)
          hits += shape.contains(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
      if (hits == 0) continue;
      Rgb& target = m_pixels[index(x, y)];
      target = mix(target, colour, opacity * hits / (kSamples * kSamples));
    }
  }
}

void Canvas::fillExact(const Shape& shape, Rgb colour) {
  const Box& box = shape.bounds();
  const Span xs = span(box.left, box.right, m_width);
  const Span ys = span(box.top, box.bottom, m_height);
  for (int y = ys.first; y < ys.last; ++y)
    for (int x = xs.first; x < xs.last; ++x)
      if (shape.contains(x + 0.5, y + 0.5)) m_pixels[index(x, y)] = colour;
}

void Canvas::paste(const Canvas& source, int x, int y) {
  for (int sy = 0; sy < source.height(); ++sy) {
    if (y + sy < 0 || y + sy >= m_height) continue;
    for (int sx = 0; sx < source.width(); ++sx)
      if (x + sx >= 0 && x + sx < m_width) m_pixels[index(x + sx, y + sy)] = source.pixel(sx, sy);
  }
}

Canvas Canvas::crop(int x, int y, int width, int height, Rgb outside) const {
  Canvas part(width, height, outside);
  part.paste(*this, -x, -y);
  return part;
}

void Canvas::shade(const std::function<Rgb(int, int, Rgb)>& shader) {
  for (int y = 0; y < m_height; ++y)
    for (int x = 0; x < m_width; ++x) m_pixels[index(x, y)] = shader(x, y, m_pixels[index(x, y)]);
}

}  // namespace skingen
