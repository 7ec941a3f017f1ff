// A 5 x 7 pixel font for the test pictures: digits, capital letters (small ones are shown
// as capitals) and a little punctuation; anything else shows as "?". Each character
// cell is 6 pixels wide (one of space) and 8 high, before scaling.
#pragma once

#include <string_view>

namespace plat {

class PixelFont {
 public:
  static constexpr int kCellWidth = 6;
  static constexpr int kCellHeight = 8;

  // Whether pixel (col 0-4, row 0-6) of the character is set.
  static bool pixel(char c, int col, int row);
  // Calls plot(x, y) for every pixel of the text drawn at (x, y), each font pixel a
  // scale x scale block.
  template <class Plot>
  static void draw(std::string_view text, int x, int y, int scale, Plot plot) {
    for (size_t i = 0; i < text.size(); ++i)
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (pixel(text[i], col, row))
            for (int dy = 0; dy < scale; ++dy)
              for (int dx = 0; dx < scale; ++dx)
                plot(x + (static_cast<int>(i) * kCellWidth + col) * scale + dx, y + row * scale + dy);
  }
};

}  // namespace plat
