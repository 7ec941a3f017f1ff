// A picture being painted: 24-bit pixels, top row first. Shapes are filled either with
// smooth edges (4 × 4 samples a pixel, for artwork) or exactly (a pixel is in when its
// centre is, for masks and key colours that must stay pure).
#pragma once

#include "Colour.h"
#include "Shape.h"

#include <functional>
#include <vector>

namespace skingen {

// What a shape is filled with: one colour, or a vertical blend from `top` at y0 to
// `bottom` at y1.
struct Paint {
  Rgb top, bottom;
  double y0 = 0, y1 = 1;

  static Paint solid(Rgb colour) { return {colour, colour, 0, 1}; }
  static Paint vertical(Rgb top, Rgb bottom, double y0, double y1) { return {top, bottom, y0, y1}; }
  Rgb at(double y) const { return top == bottom ? top : mix(top, bottom, (y - y0) / (y1 - y0)); }
};

class Canvas {
 public:
  Canvas(int width, int height, Rgb background);

  int width() const { return m_width; }
  int height() const { return m_height; }
  Rgb pixel(int x, int y) const { return m_pixels[index(x, y)]; }
  void setPixel(int x, int y, Rgb colour) { m_pixels[index(x, y)] = colour; }

  void fill(const Shape& shape, const Paint& paint, double opacity = 1.0);
  void fillExact(const Shape& shape, Rgb colour);
  // Copies `source` with its top-left corner at (x, y), clipped to this canvas.
  void paste(const Canvas& source, int x, int y);
  // The part of this canvas at (x, y) of the given size; outside pixels get `outside`.
  Canvas crop(int x, int y, int width, int height, Rgb outside) const;
  // Sets every pixel to `shader(x, y, its colour)`, for blends over the whole picture.
  void shade(const std::function<Rgb(int, int, Rgb)>& shader);

 private:
  std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * m_width + x; }

  int m_width;
  int m_height;
  std::vector<Rgb> m_pixels;
};

}  // namespace skingen
