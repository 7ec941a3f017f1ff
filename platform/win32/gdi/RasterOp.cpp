#include <win32/gdi/RasterOp.h>

namespace plat {

void RasterOp::apply(const Pixel* p, const Pixel* s, Pixel* d, int count) const {
  switch (m_table) {
    case 0xCC:  // SRCCOPY
      for (int i = 0; i < count; ++i) d[i] = s[i];
      return;
    case 0xEE:  // SRCPAINT
      for (int i = 0; i < count; ++i) d[i] |= s[i];
      return;
    case 0x88:  // SRCAND
      for (int i = 0; i < count; ++i) d[i] &= s[i];
      return;
    case 0x66:  // SRCINVERT
      for (int i = 0; i < count; ++i) d[i] ^= s[i];
      return;
    case 0xF0:  // PATCOPY
      for (int i = 0; i < count; ++i) d[i] = p[i];
      return;
    case 0x5A:  // PATINVERT
      for (int i = 0; i < count; ++i) d[i] ^= p[i];
      return;
    case 0x55:  // DSTINVERT
      for (int i = 0; i < count; ++i) d[i] = ~d[i] & 0xFFFFFF;
      return;
    case 0x00:  // BLACKNESS
      for (int i = 0; i < count; ++i) d[i] = 0;
      return;
    case 0xFF:  // WHITENESS
      for (int i = 0; i < count; ++i) d[i] = 0xFFFFFF;
      return;
    default:
      break;
  }
  // Any other table: the union of its minterms, a whole chunk of pixels per minterm so
  // that each pass is one vectorised loop.
  constexpr int kChunk = 256;
  const Pixel zeros[kChunk] = {};
  Pixel result[kChunk];
  for (int begin = 0; begin < count; begin += kChunk) {
    const int n = count - begin < kChunk ? count - begin : kChunk;
    const Pixel* pv = p ? p + begin : zeros;
    const Pixel* sv = s ? s + begin : zeros;
    Pixel* dv = d + begin;
    for (int i = 0; i < n; ++i) result[i] = 0;
    for (int k = 0; k < 8; ++k) {
      if (!(m_table >> k & 1)) continue;
      const Pixel pm = (k & 4) ? 0 : ~Pixel{0};
      const Pixel sm = (k & 2) ? 0 : ~Pixel{0};
      const Pixel dm = (k & 1) ? 0 : ~Pixel{0};
      for (int i = 0; i < n; ++i) result[i] |= (pv[i] ^ pm) & (sv[i] ^ sm) & (dv[i] ^ dm);
    }
    for (int i = 0; i < n; ++i) dv[i] = result[i] & 0xFFFFFF;
  }
}

}  // namespace plat
