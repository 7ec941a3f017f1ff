// A font handle's object: the LOGFONT it was made from. The face it draws with is
// found when the font is first used for text.
#pragma once

#include <win32/gdi/FontFace.h>
#include <win32/gdi/GdiObject.h>
#include <win32/gdi/font.h>

#include <mutex>

namespace plat {

class FontObject : public GdiObject {
 public:
  explicit FontObject(const LOGFONTA& logFont) : m_logFont(logFont) {}

  DWORD objectType() const override;
  int describe(int size, void* out) const override;

  const LOGFONTA& logFont() const { return m_logFont; }
  // The face it draws with; null when no font file can be opened.
  std::shared_ptr<FontFace> face() const;
  // The character set it reports: DEFAULT_CHARSET stands for the machine's own.
  BYTE charset() const;

 private:
  LOGFONTA m_logFont;
  mutable std::once_flag m_faceFound;
  mutable std::shared_ptr<FontFace> m_face;
};

}  // namespace plat
