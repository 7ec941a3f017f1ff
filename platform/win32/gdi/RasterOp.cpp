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
  for (int i = 0; i < count; ++i) {
    const Pixel pv = p ? p[i] : 0;
    const Pixel sv = s ? s[i] : 0;
    const Pixel dv = d[i];
    Pixel r = 0;
    for (int k = 0; k < 8; ++k) {
      if (!(m_table >> k & 1)) continue;
      r |= ((k & 4) ? pv : ~pv) & ((k & 2) ? sv : ~sv) & ((k & 1) ? dv : ~dv);
    }
    d[i] = r & 0xFFFFFF;
  }
}

}  // namespace plat
