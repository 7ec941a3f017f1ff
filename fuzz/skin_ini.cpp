// Skin description files and their values: any text reads through CIniFile and the value
// readers (numbers, rectangles, colours, booleans, button entries) without failing harder
// than a default, for every section and key the file names.
#include "FuzzMachine.h"

#include "skin/CIniFile.h"
#include "skin/SkinValues.h"

#include <win32/profile.h>

#include <cstring>
#include <vector>

namespace {

std::vector<CString> NamesIn(const char* buffer, DWORD length) {
  std::vector<CString> names;
  for (const char* at = buffer; at < buffer + length && *at; at += std::strlen(at) + 1) names.emplace_back(at);
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  machine.put("skin.ini", data, size);
  const std::string path = machine.programPath("skin.ini");
  const CIniFile ini(path.c_str());
  static char buffer[65536];
  const DWORD sections = GetPrivateProfileSectionNamesA(buffer, sizeof buffer, path.c_str());
  int visited = 0;
  for (const CString& section : NamesIn(buffer, sections)) {
    CStringArray keys;
    ini.GetSectionKeys(section, keys);
    for (int k = 0; k < keys.GetSize() && visited < 200; ++k, ++visited) {
      const CString key = keys.GetAt(k);
      CString value = ini.GetString(section, key, "");
      fuzz::check(value.GetLength() <= 2047, "values are cut to 2047 characters");
      ini.GetInt(section, key);
      RECT rect{};
      ReadRect(ini, section, key, rect);
      COLORREF color = 0;
      ReadColor(ini, section, key, color);
      ReadBool(ini, section, key);
      GetSkinFilePath(ini, value);
      while (!value.IsEmpty() && value.Find(',') >= 0) FieldToInt(CutField(value));
      SkinButtonEntry entry;
      if (ReadButtonEntry(ini, section, k + 1, entry)) ScaleDesignRect(entry.rcDesign, 1024, 768);
    }
  }
  return 0;
}
