// A skin folder made by a test: a folder on drive C: holding a "skin.ini" and 24-bit
// bitmap files drawn pixel by pixel, all written here from scratch.
#pragma once

#include <support/TestMachine.h>

#include <mfc/afx.h>

#include <filesystem>
#include <functional>
#include <string>

namespace test {

class SkinFolder {
 public:
  // Creates C:\<name> on the machine.
  SkinFolder(plat::Machine& machine, const std::string& name);

  // Writes skin.ini with the given text; returns its Windows path.
  CString writeIni(const std::string& text);
  // Writes a bottom-up 24-bit BMP whose pixel (x, y) has the COLORREF `pixel(x, y)`;
  // returns its Windows path.
  CString writeBitmap(const std::string& file, int width, int height,
                          const std::function<COLORREF(int, int)>& pixel);
  // Writes arbitrary bytes (broken pictures); returns the Windows path.
  CString writeBytes(const std::string& file, const std::string& bytes);

  CString windowsPath(const std::string& file) const { return (m_windowsFolder + "\\" + file).c_str(); }
  std::filesystem::path linuxPath(const std::string& file) const { return m_folder / file; }

 private:
  std::filesystem::path m_folder;
  std::string m_windowsFolder;
};

}  // namespace test
