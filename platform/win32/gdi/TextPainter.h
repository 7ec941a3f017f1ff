// Draws one line of text with a font on a drawing context: glyph ink in the text colour,
// the text's cell in the background colour when the mode is OPAQUE, underline and
// strike-out, all turned by the font's escapement (the cell, underline and strike-out
// only for quarter turns), each character followed by the context's character extra.
// Also decodes ANSI text and measures it.
#pragma once

#include <win32/gdi/DrawingContext.h>
#include <win32/gdi/FontFace.h>

#include <string>
#include <string_view>

namespace plat {

class TextPainter {
 public:
  TextPainter(DrawingContext& dc, FontFace& face, const LOGFONTA& logFont)
      : m_dc(dc), m_face(face), m_logFont(logFont) {}

  // ANSI text in the machine's code page as characters.
  static std::u32string decode(const char* text, int length);
  // With `extra` pixels after each character (the context's character extra).
  static int width(FontFace& face, std::u32string_view text, int extra = 0);

  // Draws with (x, y) the top-left of the text in device units. `underlined` marks one
  // character (an "&" prefix) to underline besides the font's own underline; -1 for none.
  void draw(POINT at, std::u32string_view text, int underlined = -1);

 private:
  // A rectangle in text space (u along the baseline, v down from the top of the cell)
  // filled in device space; quarter turns only.
  void fillTextRect(POINT at, int u0, int v0, int u1, int v1, Pixel color);

  DrawingContext& m_dc;
  FontFace& m_face;
  const LOGFONTA& m_logFont;
};

}  // namespace plat
