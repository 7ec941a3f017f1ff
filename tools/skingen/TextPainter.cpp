#include "TextPainter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <stdexcept>

namespace skingen {

namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";
// DejaVu's capitals stand 0.73 of the pixel size above the baseline.
constexpr double kCapHeight = 0.73;

}  // namespace

struct TextPainter::Impl {
  FT_Library library = nullptr;
  FT_Face faces[2] = {nullptr, nullptr};

  FT_Face face(Weight weight, int pixels) {
    FT_Face f = faces[weight == Weight::Bold ? 1 : 0];
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(pixels));
    return f;
  }

  // Walks the text's glyphs from the pen position `x`, kerned, loaded (and rendered when
  // asked) into the face's slot; returns where the pen ends.
  template <class Visit>
  double layOut(const std::string& text, Weight weight, int pixels, double x, bool render, Visit visit) {
    FT_Face f = face(weight, pixels);
    FT_UInt previous = 0;
    for (const char ch : text) {
      const FT_UInt glyph = FT_Get_Char_Index(f, static_cast<unsigned char>(ch));
      if (previous && FT_HAS_KERNING(f)) {
        FT_Vector kern{};
        FT_Get_Kerning(f, previous, glyph, FT_KERNING_DEFAULT, &kern);
        x += kern.x / 64.0;
      }
      previous = glyph;
      if (FT_Load_Glyph(f, glyph, FT_LOAD_DEFAULT)) continue;
      if (render && FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL)) continue;
      visit(f->glyph, x);
      x += f->glyph->advance.x / 64.0;
    }
    return x;
  }
};

TextPainter::TextPainter() : m_impl(std::make_unique<Impl>()) {
  if (FT_Init_FreeType(&m_impl->library)) throw std::runtime_error("FreeType cannot start");
  const char* files[2] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"};
  for (int i = 0; i < 2; ++i) {
    const std::string path = std::string(kFontFolder) + files[i];
    if (FT_New_Face(m_impl->library, path.c_str(), 0, &m_impl->faces[i]))
      throw std::runtime_error("cannot open the font " + path);
  }
}

TextPainter::~TextPainter() {
  for (FT_Face face : m_impl->faces)
    if (face) FT_Done_Face(face);
  FT_Done_FreeType(m_impl->library);
}

double TextPainter::width(const std::string& text, Weight weight, int pixels) {
  return m_impl->layOut(text, weight, pixels, 0, false, [](FT_GlyphSlot, double) {});
}

void TextPainter::draw(Canvas& canvas, const std::string& text, Weight weight, int pixels, double x, double baseline,
                       Rgb colour) {
  m_impl->layOut(text, weight, pixels, x, true, [&](FT_GlyphSlot slot, double pen) {
    const FT_Bitmap& ink = slot->bitmap;
    const int left = static_cast<int>(std::lround(pen)) + slot->bitmap_left;
    const int top = static_cast<int>(std::lround(baseline)) - slot->bitmap_top;
    for (unsigned row = 0; row < ink.rows; ++row) {
      const int y = top + static_cast<int>(row);
      if (y < 0 || y >= canvas.height()) continue;
      for (unsigned column = 0; column < ink.width; ++column) {
        const int px = left + static_cast<int>(column);
        if (px < 0 || px >= canvas.width()) continue;
        const unsigned char level = ink.buffer[row * ink.pitch + column];
        if (level) canvas.setPixel(px, y, mix(canvas.pixel(px, y), colour, level / 255.0));
      }
    }
  });
}

void TextPainter::drawCentred(Canvas& canvas, const std::string& text, Weight weight, int pixels, const Box& box,
                              Rgb colour) {
  const double x = (box.left + box.right - width(text, weight, pixels)) / 2;
  draw(canvas, text, weight, pixels, x, (box.top + box.bottom + kCapHeight * pixels) / 2, colour);
}

void TextPainter::drawLeft(Canvas& canvas, const std::string& text, Weight weight, int pixels, const Box& box,
                           Rgb colour) {
  draw(canvas, text, weight, pixels, box.left, (box.top + box.bottom + kCapHeight * pixels) / 2, colour);
}

int TextPainter::fit(const std::string& text, Weight weight, int pixels, double maxWidth) {
  while (pixels > 6 && width(text, weight, pixels) > maxWidth) --pixels;
  return pixels;
}

}  // namespace skingen
