// The stock objects every process shares: brushes, pens and fonts by GetStockObject
// index, and the 1 × 1 monochrome bitmap a new memory device context starts with.
// They live in the GDI table for the life of the process and cannot be deleted.
#pragma once

#include <win32/gdi/BitmapObject.h>
#include <win32/gdi/BrushObject.h>
#include <win32/gdi/FontObject.h>
#include <win32/gdi/PenObject.h>

namespace plat {

class StockObjects {
 public:
  static StockObjects& instance();

  // Null for an index that names no stock object.
  std::shared_ptr<GdiObject> get(int index) const;
  std::shared_ptr<PenObject> defaultPen() const;
  std::shared_ptr<BrushObject> defaultBrush() const;
  std::shared_ptr<FontObject> defaultFont() const;
  std::shared_ptr<BitmapObject> defaultBitmap() const { return m_bitmap; }

 private:
  StockObjects();
  void add(int index, std::shared_ptr<GdiObject> object);

  std::shared_ptr<GdiObject> m_objects[18];
  std::shared_ptr<BitmapObject> m_bitmap;
};

}  // namespace plat
