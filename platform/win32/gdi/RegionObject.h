// A region handle's object: a Region that the region calls change in place.
#pragma once

#include <win32/gdi/GdiObject.h>
#include <win32/gdi/Region.h>

namespace plat {

class RegionObject : public GdiObject {
 public:
  explicit RegionObject(Region region = {}) : m_region(std::move(region)) {}

  DWORD objectType() const override;
  int describe(int, void*) const override { return 0; }

  Region& region() { return m_region; }
  const Region& region() const { return m_region; }

 private:
  Region m_region;
};

}  // namespace plat
