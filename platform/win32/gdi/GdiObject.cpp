#include <win32/gdi/GdiObject.h>

namespace plat {

void GdiObject::addSelection(const void* owner) {
  if (m_selections.fetch_add(1) == 0) m_owner = owner;
}

void GdiObject::removeSelection() {
  if (m_selections.fetch_sub(1) == 1) m_owner = nullptr;
}

}  // namespace plat
