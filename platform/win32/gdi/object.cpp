#include <win32/gdi/object.h>

#include <win32/error.h>
#include <win32/gdi/DrawingContext.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/RegionObject.h>
#include <win32/gdi/StockObjects.h>
#include <win32/gdi/dc.h>

namespace {

using plat::GdiTable;

template <class T>
HGDIOBJ replace(plat::Selected<T>& slot, std::shared_ptr<T> object, const void* owner) {
  HGDIOBJ previous = slot ? slot->handle() : nullptr;
  slot = plat::Selected<T>(std::move(object), owner);
  return previous;
}

}  // namespace

HGDIOBJ GetStockObject(int i) {
  std::shared_ptr<plat::GdiObject> object = plat::StockObjects::instance().get(i);
  return object ? object->handle() : nullptr;
}

BOOL DeleteObject(HGDIOBJ ho) {
  std::shared_ptr<plat::GdiObject> object = GdiTable::lookup<plat::GdiObject>(ho);
  if (!object) return FALSE;
  if (object->isStock()) return TRUE;
  const DWORD type = object->objectType();
  if (type == OBJ_DC || type == OBJ_MEMDC || object->isSelected()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return GdiTable::instance().remove(ho) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  auto dc = GdiTable::lookup<plat::DrawingContext>(hdc);
  std::shared_ptr<plat::GdiObject> object = GdiTable::lookup<plat::GdiObject>(h);
  if (!dc || !object) return nullptr;
  plat::DrawingContext::State& state = dc->state();
  if (auto pen = std::dynamic_pointer_cast<plat::PenObject>(object)) return replace(state.pen, pen, dc.get());
  if (auto brush = std::dynamic_pointer_cast<plat::BrushObject>(object)) return replace(state.brush, brush, dc.get());
  if (auto font = std::dynamic_pointer_cast<plat::FontObject>(object)) return replace(state.font, font, dc.get());
  if (auto region = std::dynamic_pointer_cast<plat::RegionObject>(object)) {
    const int kind = SelectClipRgn(hdc, static_cast<HRGN>(h));
    return reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(kind == ERROR ? -1 : kind));
  }
  if (auto bitmap = std::dynamic_pointer_cast<plat::BitmapObject>(object)) {
    const bool heldElsewhere = !bitmap->isStock() && bitmap->isSelected() && bitmap->selectionOwner() != dc.get();
    if (!dc->isMemory() || heldElsewhere) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    HGDIOBJ previous = state.bitmap->handle();
    dc->selectBitmap(bitmap);
    return previous;
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  auto dc = GdiTable::lookup<plat::DrawingContext>(hdc);
  if (!dc) return nullptr;
  const plat::DrawingContext::State& state = dc->state();
  switch (type) {
    case OBJ_PEN:
      return state.pen->handle();
    case OBJ_BRUSH:
      return state.brush->handle();
    case OBJ_FONT:
      return state.font->handle();
    case OBJ_BITMAP:
      return state.bitmap ? state.bitmap->handle() : nullptr;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

DWORD GetObjectType(HGDIOBJ h) {
  std::shared_ptr<plat::GdiObject> object = GdiTable::lookup<plat::GdiObject>(h);
  return object ? object->objectType() : 0;
}

int GetObjectA(HGDIOBJ h, int c, LPVOID pv) {
  std::shared_ptr<plat::GdiObject> object = GdiTable::lookup<plat::GdiObject>(h);
  if (!object) return 0;
  if (pv && c <= 0) return 0;
  return object->describe(c, pv);
}
