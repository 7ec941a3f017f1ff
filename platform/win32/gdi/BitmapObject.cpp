#include <win32/gdi/BitmapObject.h>

#include <win32/gdi/bitmap.h>
#include <win32/gdi/object.h>

#include <algorithm>
#include <cstring>

namespace plat {

DWORD BitmapObject::objectType() const { return OBJ_BITMAP; }

int BitmapObject::describe(int size, void* out) const {
  BITMAP bm{};
  bm.bmType = 0;
  bm.bmWidth = m_surface.width();
  bm.bmHeight = m_surface.height();
  bm.bmPlanes = 1;
  bm.bmBitsPixel = static_cast<WORD>(m_surface.bitsPerPixel());
  if (m_dibSection) {
    bm.bmWidthBytes = m_surface.stride();
    bm.bmBits = const_cast<std::uint8_t*>(m_surface.bits());
  } else {
    // A device-dependent bitmap reports rows padded to 2 bytes.
    bm.bmWidthBytes = ((m_surface.width() * m_surface.bitsPerPixel() + 15) / 16) * 2;
  }
  if (!m_dibSection || size < static_cast<int>(sizeof(DIBSECTION))) {
    if (!out) return sizeof(BITMAP);
    const int n = std::min<int>(size, sizeof(BITMAP));
    std::memcpy(out, &bm, static_cast<std::size_t>(n));
    return n;
  }
  DIBSECTION ds{};
  ds.dsBm = bm;
  ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
  ds.dsBmih.biWidth = m_surface.width();
  ds.dsBmih.biHeight = m_surface.bottomUp() ? m_surface.height() : -m_surface.height();
  ds.dsBmih.biPlanes = 1;
  ds.dsBmih.biBitCount = bm.bmBitsPixel;
  ds.dsBmih.biCompression = BI_RGB;
  ds.dsBmih.biSizeImage = static_cast<DWORD>(m_surface.byteSize());
  std::memcpy(out, &ds, sizeof(DIBSECTION));
  return sizeof(DIBSECTION);
}

}  // namespace plat
