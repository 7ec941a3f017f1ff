#include <win32/gdi/FontFace.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Cell height of a font whose LOGFONT height is 0.
constexpr int kDefaultCellHeight = 16;

std::mutex g_libraryLock;

FT_Library library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    FT_Init_FreeType(&l);
    return l;
  }();
  return lib;
}

long roundUp26(long v) { return (v + 63) >> 6; }

}  // namespace

struct FontFace::Impl {
  FT_Face face = nullptr;
  FT_Matrix turn{0x10000, 0, 0, 0x10000};
  ~Impl() {
    if (face) {
      std::lock_guard guard(g_libraryLock);
      FT_Done_Face(face);
    }
  }
};

FontFace::FontFace(std::unique_ptr<Impl> impl, int escapement, std::shared_ptr<FontFace> linked)
    : m_impl(std::move(impl)), m_escapement(escapement), m_linked(std::move(linked)) {}

FontFace::~FontFace() = default;

std::unique_ptr<FontFace> FontFace::open(const std::string& file, const LOGFONTA& logFont,
                                         std::shared_ptr<FontFace> linked) {
  auto impl = std::make_unique<Impl>();
  {
    std::lock_guard guard(g_libraryLock);
    if (!library() || FT_New_Face(library(), file.c_str(), 0, &impl->face) != 0) return nullptr;
  }
  if (!FT_IS_SCALABLE(impl->face)) return nullptr;
  const double angle = logFont.lfEscapement / 10.0 * kPi / 180.0;
  impl->turn.xx = static_cast<FT_Fixed>(std::lround(std::cos(angle) * 0x10000));
  impl->turn.xy = static_cast<FT_Fixed>(std::lround(-std::sin(angle) * 0x10000));
  impl->turn.yx = static_cast<FT_Fixed>(std::lround(std::sin(angle) * 0x10000));
  impl->turn.yy = impl->turn.xx;
  std::unique_ptr<FontFace> font(new FontFace(std::move(impl), logFont.lfEscapement, std::move(linked)));
  font->measure(logFont);
  return font;
}

void FontFace::measure(const LOGFONTA& logFont) {
  FT_Face face = m_impl->face;
  const double unitsPerEm = face->units_per_EM;
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const TT_HoriHeader* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const double winAscent = os2 ? os2->usWinAscent : face->ascender;
  const double winDescent = os2 ? os2->usWinDescent : -face->descender;
  const double avgWidth = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : unitsPerEm / 2;

  // A positive height is the cell, a negative one the em square.
  const LONG requested = logFont.lfHeight == 0 ? kDefaultCellHeight : logFont.lfHeight;
  const double em = requested > 0 ? requested * unitsPerEm / (winAscent + winDescent) : -static_cast<double>(requested);
  const double emX = logFont.lfWidth > 0 ? logFont.lfWidth * unitsPerEm / avgWidth : em;
  FT_Set_Char_Size(face, static_cast<FT_F26Dot6>(std::lround(emX * 64)), static_cast<FT_F26Dot6>(std::lround(em * 64)),
                   72, 72);
  const double scaleY = em / unitsPerEm;
  const double scaleX = emX / unitsPerEm;

  Metrics& m = m_metrics;
  m.ascent = static_cast<int>(std::lround(winAscent * scaleY));
  // A cell height asked for is the cell height given.
  m.descent = requested > 0 ? requested - m.ascent : static_cast<int>(std::lround(winDescent * scaleY));
  m.internalLeading = std::max(0, m.ascent + m.descent - static_cast<int>(std::lround(em)));
  if (hhea) {
    const double gap = hhea->Line_Gap - ((winAscent + winDescent) - (hhea->Ascender - hhea->Descender));
    m.externalLeading = std::max(0, static_cast<int>(std::lround(gap * scaleY)));
  }
  m.aveCharWidth = std::max(1, static_cast<int>(std::lround(avgWidth * scaleX)));
  m.maxCharWidth = std::max(1, static_cast<int>(std::ceil(face->max_advance_width * scaleX)));
  m.underlinePosition = std::max(1, static_cast<int>(std::lround(-face->underline_position * scaleY)));
  m.strokeThickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scaleY)));
  m.strikeoutPosition = os2 ? static_cast<int>(std::lround(os2->yStrikeoutPosition * scaleY)) : m.ascent / 3;
  m.fixedPitch = FT_IS_FIXED_WIDTH(face);
}

FontFace* FontFace::drawing(char32_t c) {
  if (!m_linked) return this;
  std::lock_guard guard(m_lock);
  return FT_Get_Char_Index(m_impl->face, c) == 0 ? m_linked.get() : this;
}

bool FontFace::draws(char32_t c) {
  FontFace* face = drawing(c);
  std::lock_guard guard(face->m_lock);
  return FT_Get_Char_Index(face->m_impl->face, c) != 0;
}

int FontFace::advance(char32_t c) {
  if (FontFace* other = drawing(c); other != this) return other->advance(c);
  std::lock_guard guard(m_lock);
  if (auto it = m_advances.find(c); it != m_advances.end()) return it->second;
  FT_Face face = m_impl->face;
  FT_Set_Transform(face, nullptr, nullptr);
  int width = 0;
  if (FT_Load_Char(face, c, FT_LOAD_TARGET_MONO) == 0) width = static_cast<int>(roundUp26(face->glyph->advance.x));
  m_advances.emplace(c, width);
  return width;
}

FontFace::Glyph FontFace::glyph(char32_t c) {
  if (FontFace* other = drawing(c); other != this) return other->glyph(c);
  std::lock_guard guard(m_lock);
  if (auto it = m_glyphs.find(c); it != m_glyphs.end()) return it->second;
  FT_Face face = m_impl->face;
  FT_Set_Transform(face, &m_impl->turn, nullptr);
  Glyph g;
  if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) == 0) {
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.ink.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height));
    for (int y = 0; y < g.height; ++y) {
      const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
      for (int x = 0; x < g.width; ++x) {
        const bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7)) & 1) : row[x] >= 128;
        g.ink[static_cast<std::size_t>(y) * g.width + x] = on ? 1 : 0;
      }
    }
  }
  m_glyphs.emplace(c, g);
  return g;
}

}  // namespace plat
