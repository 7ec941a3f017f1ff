// A font handle's object: the LOGFONT it was made from. The face it draws with is
// found when the font is first used for text.
#pragma once

#include <win32/gdi/GdiObject.h>
#include <win32/gdi/font.h>

namespace plat {

class FontObject : public GdiObject {
 public:
  explicit FontObject(const LOGFONTA& logFont) : m_logFont(logFont) {}

  DWORD objectType() const override;
  int describe(int size, void* out) const override;

  const LOGFONTA& logFont() const { return m_logFont; }

 private:
  LOGFONTA m_logFont;
};

}  // namespace plat
