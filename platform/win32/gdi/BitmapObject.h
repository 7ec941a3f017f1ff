// A bitmap: its pixels and whether it is a DIB section (whose bits the program holds a
// pointer to) or a device-dependent bitmap. A memory device context draws into the one
// selected into it.
#pragma once

#include <win32/gdi/GdiObject.h>
#include <win32/gdi/Surface.h>

namespace plat {

class BitmapObject : public GdiObject {
 public:
  BitmapObject(Surface surface, bool dibSection) : m_surface(std::move(surface)), m_dibSection(dibSection) {}

  DWORD objectType() const override;
  int describe(int size, void* out) const override;

  Surface& surface() { return m_surface; }
  const Surface& surface() const { return m_surface; }
  bool isDibSection() const { return m_dibSection; }
  // The surface, kept alive by the bitmap it belongs to.
  static std::shared_ptr<Surface> surfaceOf(const std::shared_ptr<BitmapObject>& bitmap) {
    return std::shared_ptr<Surface>(bitmap, &bitmap->m_surface);
  }

 private:
  Surface m_surface;
  bool m_dibSection;
};

}  // namespace plat
