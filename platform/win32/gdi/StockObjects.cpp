#include <win32/gdi/StockObjects.h>

#include <win32/gdi/GdiTable.h>
#include <win32/gdi/draw.h>
#include <win32/gdi/object.h>

#include <cstring>

namespace plat {

namespace {

std::shared_ptr<FontObject> stockFont(const char* face, LONG height, BYTE pitch, LONG weight) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;  // the machine's character set
  lf.lfPitchAndFamily = pitch;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return std::make_shared<FontObject>(lf);
}

}  // namespace

StockObjects& StockObjects::instance() {
  static StockObjects stock;
  return stock;
}

StockObjects::StockObjects() {
  add(WHITE_BRUSH, BrushObject::solid(RGB(255, 255, 255)));
  add(LTGRAY_BRUSH, BrushObject::solid(RGB(192, 192, 192)));
  add(GRAY_BRUSH, BrushObject::solid(RGB(128, 128, 128)));
  add(DKGRAY_BRUSH, BrushObject::solid(RGB(64, 64, 64)));
  add(BLACK_BRUSH, BrushObject::solid(RGB(0, 0, 0)));
  add(NULL_BRUSH, BrushObject::hollow());
  add(WHITE_PEN, std::make_shared<PenObject>(PS_SOLID, 1, RGB(255, 255, 255)));
  add(BLACK_PEN, std::make_shared<PenObject>(PS_SOLID, 1, RGB(0, 0, 0)));
  add(NULL_PEN, std::make_shared<PenObject>(PS_NULL, 1, RGB(0, 0, 0)));
  add(OEM_FIXED_FONT, stockFont("Terminal", 12, FIXED_PITCH | FF_MODERN, FW_NORMAL));
  add(ANSI_FIXED_FONT, stockFont("Courier", 13, FIXED_PITCH | FF_MODERN, FW_NORMAL));
  add(ANSI_VAR_FONT, stockFont("MS Sans Serif", 13, VARIABLE_PITCH | FF_SWISS, FW_NORMAL));
  add(SYSTEM_FONT, stockFont("System", 16, VARIABLE_PITCH | FF_SWISS, FW_BOLD));
  add(DEVICE_DEFAULT_FONT, stockFont("System", 16, VARIABLE_PITCH | FF_SWISS, FW_BOLD));
  add(SYSTEM_FIXED_FONT, stockFont("Fixedsys", 15, FIXED_PITCH | FF_MODERN, FW_NORMAL));
  add(DEFAULT_GUI_FONT, stockFont("MS Shell Dlg", -11, VARIABLE_PITCH | FF_SWISS, FW_NORMAL));
  m_bitmap = std::make_shared<BitmapObject>(Surface(1, 1, PixelFormat::Mono1), false);
  m_bitmap->markStock();
  GdiTable::instance().add(m_bitmap);
}

void StockObjects::add(int index, std::shared_ptr<GdiObject> object) {
  object->markStock();
  GdiTable::instance().add(object);
  m_objects[index] = std::move(object);
}

std::shared_ptr<GdiObject> StockObjects::get(int index) const {
  if (index < 0 || index >= static_cast<int>(std::size(m_objects))) return nullptr;
  return m_objects[index];
}

std::shared_ptr<PenObject> StockObjects::defaultPen() const {
  return std::static_pointer_cast<PenObject>(m_objects[BLACK_PEN]);
}

std::shared_ptr<BrushObject> StockObjects::defaultBrush() const {
  return std::static_pointer_cast<BrushObject>(m_objects[WHITE_BRUSH]);
}

std::shared_ptr<FontObject> StockObjects::defaultFont() const {
  return std::static_pointer_cast<FontObject>(m_objects[SYSTEM_FONT]);
}

}  // namespace plat
