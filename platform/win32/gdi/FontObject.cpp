#include <win32/gdi/FontObject.h>

#include <win32/codepage.h>
#include <win32/gdi/FontEngine.h>
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

std::shared_ptr<FontFace> FontObject::face() const {
  std::call_once(m_faceFound, [this] { m_face = FontEngine::instance().face(m_logFont); });
  return m_face;
}

BYTE FontObject::charset() const {
  if (m_logFont.lfCharSet != DEFAULT_CHARSET) return m_logFont.lfCharSet;
  switch (GetACP()) {
    case 1250:
      return EASTEUROPE_CHARSET;
    case 1251:
      return RUSSIAN_CHARSET;
    case 1253:
      return GREEK_CHARSET;
    case 1254:
      return TURKISH_CHARSET;
    case 1255:
      return HEBREW_CHARSET;
    case 1256:
      return ARABIC_CHARSET;
    case 1257:
      return BALTIC_CHARSET;
    case 932:
      return SHIFTJIS_CHARSET;
    case 936:
      return GB2312_CHARSET;
    case 949:
      return HANGUL_CHARSET;
    case 950:
      return CHINESEBIG5_CHARSET;
    default:
      return ANSI_CHARSET;
  }
}

}  // namespace plat
