#include <win32/gdi/RegionObject.h>

#include <win32/gdi/object.h>

namespace plat {

DWORD RegionObject::objectType() const { return OBJ_REGION; }

}  // namespace plat
