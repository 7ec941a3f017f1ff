#include <win32/gdi/TextPainter.h>

#include <win32/codepage.h>
#include <win32/gdi/Painter.h>
#include <win32/gdi/dc.h>

#include <cmath>
#include <vector>

namespace plat {

namespace {

constexpr double kPi = 3.14159265358979323846;

int quarterTurns(int escapement) {
  const int e = ((escapement % 3600) + 3600) % 3600;
  return e % 900 == 0 ? e / 900 : -1;
}

}  // namespace

std::u32string TextPainter::decode(const char* text, int length) {
  std::u32string out;
  if (!text || length == 0) return out;
  const int needed = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
  if (needed <= 0) return out;
  std::vector<WCHAR> wide(static_cast<std::size_t>(needed));
  MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), needed);
  for (WCHAR c : wide)
    if (c != 0) out.push_back(static_cast<char32_t>(c));
  return out;
}

int TextPainter::width(FontFace& face, std::u32string_view text, int extra) {
  int w = 0;
  for (char32_t c : text) w += face.advance(c) + extra;
  return w;
}

void TextPainter::fillTextRect(POINT at, int u0, int v0, int u1, int v1, Pixel color) {
  RECT r{};
  switch (quarterTurns(m_face.escapement())) {
    case 0:
      r = RECT{at.x + u0, at.y + v0, at.x + u1, at.y + v1};
      break;
    case 1:
      r = RECT{at.x + v0, at.y - u1, at.x + v1, at.y - u0};
      break;
    case 2:
      r = RECT{at.x - u1, at.y - v1, at.x - u0, at.y - v0};
      break;
    case 3:
      r = RECT{at.x - v1, at.y + u0, at.x - v0, at.y + u1};
      break;
    default:
      return;
  }
  Painter(m_dc).fillSolid(r, color);
}

void TextPainter::draw(POINT at, std::u32string_view text, int underlined) {
  const DrawingContext::State& state = m_dc.state();
  const FontFace::Metrics& m = m_face.metrics();
  const int extra = state.charExtra;
  const int total = width(m_face, text, extra);
  if (state.bkMode == OPAQUE) fillTextRect(at, 0, 0, total, m_face.height(), pixelFromColorRef(state.bkColor));

  const Pixel ink = pixelFromColorRef(state.textColor);
  const double angle = m_face.escapement() / 10.0 * kPi / 180.0;
  const double cosA = std::cos(angle);
  const double sinA = std::sin(angle);
  Surface& surface = m_dc.surface();
  const POINT origin = m_dc.origin();
  int u = 0;
  int underlineFrom = 0;
  int underlineTo = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const int advance = m_face.advance(c) + extra;
    if (static_cast<int>(i) == underlined) {
      underlineFrom = u;
      underlineTo = u + advance;
    }
    if (c >= 0x20) {
      const FontFace::Glyph g = m_face.glyph(c);
      // The pen on the baseline, turned with the text.
      const long penX = at.x + std::lround(u * cosA + m.ascent * sinA);
      const long penY = at.y + std::lround(-u * sinA + m.ascent * cosA);
      const RECT box{static_cast<LONG>(penX + g.left), static_cast<LONG>(penY - g.top),
                     static_cast<LONG>(penX + g.left + g.width), static_cast<LONG>(penY - g.top + g.height)};
      m_dc.forEachSurfaceRect(box, [&](const RECT& s) {
        for (int y = s.top; y < s.bottom; ++y) {
          const std::uint8_t* row = &g.ink[static_cast<std::size_t>(y - origin.y - box.top) * g.width];
          for (int x = s.left; x < s.right; ++x)
            if (row[x - origin.x - box.left]) surface.setPixel(x, y, ink);
        }
      });
    }
    u += advance;
  }
  const int line = m.strokeThickness;
  if (m_logFont.lfUnderline)
    fillTextRect(at, 0, m.ascent + m.underlinePosition, total, m.ascent + m.underlinePosition + line, ink);
  if (m_logFont.lfStrikeOut)
    fillTextRect(at, 0, m.ascent - m.strikeoutPosition, total, m.ascent - m.strikeoutPosition + line, ink);
  if (underlineTo > underlineFrom)
    fillTextRect(at, underlineFrom, m.ascent + m.underlinePosition, underlineTo,
                 m.ascent + m.underlinePosition + line, ink);
}

}  // namespace plat
