#include <win32/gdi/FontObject.h>

#include <win32/gdi/object.h>

#include <algorithm>
#include <cstring>

namespace plat {

DWORD FontObject::objectType() const { return OBJ_FONT; }

int FontObject::describe(int size, void* out) const {
  if (!out) return sizeof(LOGFONTA);
  const int n = std::min<int>(size, sizeof(LOGFONTA));
  std::memcpy(out, &m_logFont, static_cast<std::size_t>(n));
  return n;
}

}  // namespace plat
