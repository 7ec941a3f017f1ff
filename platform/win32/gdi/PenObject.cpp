#include <win32/gdi/PenObject.h>

#include <win32/gdi/draw.h>
#include <win32/gdi/object.h>

#include <algorithm>
#include <cstring>

namespace plat {

DWORD PenObject::objectType() const { return OBJ_PEN; }

bool PenObject::isNull() const { return m_style == PS_NULL; }

int PenObject::describe(int size, void* out) const {
  if (!out) return sizeof(LOGPEN);
  LOGPEN lp{};
  lp.lopnStyle = static_cast<UINT>(m_style);
  lp.lopnWidth.x = m_width;
  lp.lopnColor = m_color;
  const int n = std::min<int>(size, sizeof(LOGPEN));
  std::memcpy(out, &lp, static_cast<std::size_t>(n));
  return n;
}

}  // namespace plat
