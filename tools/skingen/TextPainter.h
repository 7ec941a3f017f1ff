// Captions for the artwork: DejaVu Sans (regular and bold) through FreeType, drawn with
// smooth edges. Texts are plain ASCII.
#pragma once

#include "Canvas.h"

#include <memory>
#include <string>

namespace skingen {

enum class Weight { Regular, Bold };

class TextPainter {
 public:
  // Throws std::runtime_error when the fonts cannot be opened.
  TextPainter();
  ~TextPainter();
  TextPainter(const TextPainter&) = delete;
  TextPainter& operator=(const TextPainter&) = delete;

  double width(const std::string& text, Weight weight, int pixels);
  // Left end of the baseline at (x, baseline).
  void draw(Canvas& canvas, const std::string& text, Weight weight, int pixels, double x, double baseline, Rgb colour);
  // Centred in the box, or from its left edge; vertically centred on the capitals.
  void drawCentred(Canvas& canvas, const std::string& text, Weight weight, int pixels, const Box& box, Rgb colour);
  void drawLeft(Canvas& canvas, const std::string& text, Weight weight, int pixels, const Box& box, Rgb colour);
  // The largest size not above `pixels` at which the text fits `maxWidth`.
  int fit(const std::string& text, Weight weight, int pixels, double maxWidth);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace skingen
