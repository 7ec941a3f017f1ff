// DrawText's line layout: "&" prefixes, line breaks, word wrapping, tab stops every
// eight average character widths and the end ellipsis, measured with a font.
#pragma once

#include <win32/gdi/FontFace.h>

#include <string>
#include <vector>

namespace plat {

class TextLayout {
 public:
  struct Line {
    std::u32string text;
    int width = 0;
    int underlined = -1;  // index of the character after an "&" prefix, -1 for none
  };

  // `extra` pixels follow each character (the context's character extra).
  TextLayout(FontFace& face, UINT format, int extra = 0);

  // The lines of `text` in a rectangle `width` pixels wide.
  std::vector<Line> lay(std::u32string text, int width) const;
  // The width of a line, tabs expanded when the format asks it.
  int measure(std::u32string_view text) const;
  // Where a tab starting at x ends.
  int nextTabStop(int x) const;
  bool expandsTabs() const { return m_tabWidth > 0; }

 private:
  std::vector<Line> split(const std::u32string& text, int underlined) const;
  void wrap(Line line, int width, std::vector<Line>& out) const;
  void shorten(Line& line, int width) const;

  FontFace& m_face;
  UINT m_format;
  int m_tabWidth;
  int m_extra;
};

}  // namespace plat
