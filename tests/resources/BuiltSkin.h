// A skin folder the build drew into the program folder, read the way the windows read
// it: through the skin engine's INI reader and value readers, and pictures through the
// OLE picture loader.
#pragma once

#include "skin/CIniFile.h"
#include "skin/SkinValues.h"

#include <win32/gdi.h>

#include <string>
#include <vector>

namespace test {

// A decoded picture, owned.
class Picture {
 public:
  Picture() = default;
  explicit Picture(HBITMAP bitmap);
  ~Picture();
  Picture(Picture&& other) noexcept;
  Picture& operator=(Picture&& other) noexcept;

  HBITMAP get() const { return m_bitmap; }
  explicit operator bool() const { return m_bitmap != nullptr; }
  SIZE size() const;
  COLORREF pixel(int x, int y) const;

 private:
  HBITMAP m_bitmap = nullptr;
};

class BuiltSkin {
 public:
  // `folder` under the program folder, Windows separators ("Skin\\TV").
  explicit BuiltSkin(const std::string& folder);

  const CIniFile& ini() const { return m_ini; }
  CString value(const char* section, const char* key) const;
  // Keys of a section, in file order.
  std::vector<std::string> keys(const char* section) const;
  // Every entry of a "-Buttons" section, keys "1" to the key count.
  std::vector<SkinButtonEntry> buttons(const char* section) const;
  // A file named in a value, loaded with the picture loader; empty when it fails.
  Picture picture(const CString& file) const;
  bool fileExists(const CString& file) const;
  std::string linuxPath(const CString& file) const;

 private:
  CIniFile m_ini;
};

// A value cut into its comma-separated fields with the skin engine's field cutter.
std::vector<CString> Fields(CString value, int count);

}  // namespace test
