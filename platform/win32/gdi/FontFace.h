// One font as GDI draws it: a FreeType face from a font file at the pixel size, width
// and turn a LOGFONT asks for, with Windows' cell metrics (ascent and descent from the
// font's Windows metrics, so a positive height is the whole cell) and its glyphs
// rendered without anti-aliasing. Rendered glyphs and advances are cached; calls may come
// from several threads. Like Windows' font linking, a character the face has no glyph for
// is drawn from a linked face, when one is given.
#pragma once

#include <win32/gdi/font.h>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace plat {

class FontFace {
 public:
  struct Metrics {
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int underlinePosition = 0;  // below the baseline, pixels
    int strokeThickness = 1;
    int strikeoutPosition = 0;  // above the baseline, pixels
    bool fixedPitch = false;
  };
  // A rendered glyph, turned by the font's escapement: its ink (one byte a pixel, 0 or 1)
  // placed from the pen position on the baseline (left to the right, top upwards).
  struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> ink;
  };

  // Null when the file cannot be opened as a font.
  static std::unique_ptr<FontFace> open(const std::string& file, const LOGFONTA& logFont,
                                        std::shared_ptr<FontFace> linked = nullptr);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const Metrics& metrics() const { return m_metrics; }
  int height() const { return m_metrics.ascent + m_metrics.descent; }
  // Escapement in tenths of a degree, counter-clockwise.
  int escapement() const { return m_escapement; }
  // Width of a character along the baseline, whole pixels.
  int advance(char32_t c);
  // Whether this face or the linked one has a glyph for c: else it shows as the empty box.
  bool draws(char32_t c);
  Glyph glyph(char32_t c);

 private:
  struct Impl;
  FontFace(std::unique_ptr<Impl> impl, int escapement, std::shared_ptr<FontFace> linked);
  void measure(const LOGFONTA& logFont);
  // The face that draws c: the linked one where this face lacks its glyph.
  FontFace* drawing(char32_t c);

  std::unique_ptr<Impl> m_impl;
  int m_escapement;
  std::shared_ptr<FontFace> m_linked;
  Metrics m_metrics;
  std::mutex m_lock;
  std::unordered_map<char32_t, int> m_advances;
  std::unordered_map<char32_t, Glyph> m_glyphs;
};

}  // namespace plat
