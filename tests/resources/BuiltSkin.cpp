#include "BuiltSkin.h"

#include "skin/SkinBitmap.h"

#include <machine/Machine.h>
#include <win32/file.h>
#include <support/TestMachine.h>

#include <filesystem>
#include <utility>

namespace test {

Picture::Picture(HBITMAP bitmap) : m_bitmap(bitmap) {}

Picture::~Picture() {
  if (m_bitmap) DeleteObject(m_bitmap);
}

Picture::Picture(Picture&& other) noexcept : m_bitmap(std::exchange(other.m_bitmap, nullptr)) {}

Picture& Picture::operator=(Picture&& other) noexcept {
  std::swap(m_bitmap, other.m_bitmap);
  return *this;
}

SIZE Picture::size() const {
  BITMAP bm{};
  if (!m_bitmap || !GetObjectA(m_bitmap, sizeof bm, &bm)) return {0, 0};
  return {bm.bmWidth, bm.bmHeight};
}

COLORREF Picture::pixel(int x, int y) const {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, m_bitmap);
  const COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return colour;
}

namespace {

CString WindowsPathOf(const std::string& folder) {
  const std::filesystem::path root = TestMachine::builtProgramFolder();
  return plat::Machine::current().paths().toWindows(root).c_str() + CString("\\") + folder.c_str() + "\\skin.ini";
}

}  // namespace

BuiltSkin::BuiltSkin(const std::string& folder) : m_ini(WindowsPathOf(folder)) {}

CString BuiltSkin::value(const char* section, const char* key) const { return m_ini.GetString(section, key, ""); }

std::vector<std::string> BuiltSkin::keys(const char* section) const {
  CStringArray names;
  m_ini.GetSectionKeys(section, names);
  std::vector<std::string> out;
  for (INT_PTR i = 0; i < names.GetSize(); ++i) out.emplace_back(static_cast<LPCSTR>(names[i]));
  return out;
}

std::vector<SkinButtonEntry> BuiltSkin::buttons(const char* section) const {
  std::vector<SkinButtonEntry> out;
  const int count = static_cast<int>(keys(section).size());
  for (int key = 1; key <= count; ++key) {
    SkinButtonEntry entry;
    if (ReadButtonEntry(m_ini, section, key, entry)) out.push_back(entry);
  }
  return out;
}

Picture BuiltSkin::picture(const CString& file) const {
  HBITMAP bitmap = nullptr;
  SIZE size{};
  if (!LoadPictureFile(GetSkinFilePath(m_ini, file), bitmap, size)) return Picture();
  return Picture(bitmap);
}

bool BuiltSkin::fileExists(const CString& file) const {
  return GetFileAttributesA(GetSkinFilePath(m_ini, file)) != INVALID_FILE_ATTRIBUTES;
}

std::string BuiltSkin::linuxPath(const CString& file) const {
  return plat::Machine::current().paths().toLinux(static_cast<LPCSTR>(GetSkinFilePath(m_ini, file))).string();
}

std::vector<CString> Fields(CString value, int count) {
  std::vector<CString> out;
  for (int i = 0; i < count; ++i) out.push_back(CutField(value));
  return out;
}

}  // namespace test
