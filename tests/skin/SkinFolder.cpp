#include "SkinFolder.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace test {

namespace {

void put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, unsigned value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

SkinFolder::SkinFolder(plat::Machine& machine, const std::string& name)
    : m_folder(machine.paths().driveFolder('C') / name), m_windowsFolder("C:\\" + name) {
  std::filesystem::create_directories(m_folder);
}

CString SkinFolder::writeIni(const std::string& text) { return writeBytes("skin.ini", text); }

CString SkinFolder::writeBitmap(const std::string& file, int width, int height,
                                    const std::function<COLORREF(int, int)>& pixel) {
  const unsigned stride = (static_cast<unsigned>(width) * 3 + 3) & ~3u;
  const unsigned imageSize = stride * static_cast<unsigned>(height);
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  put32(out, 54 + imageSize);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<unsigned>(width));
  put32(out, static_cast<unsigned>(height));
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, imageSize);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int row = height - 1; row >= 0; --row) {
    const std::size_t start = out.size();
    for (int x = 0; x < width; ++x) {
      const COLORREF c = pixel(x, row);
      out.push_back(static_cast<std::uint8_t>(c >> 16));  // blue
      out.push_back(static_cast<std::uint8_t>(c >> 8));   // green
      out.push_back(static_cast<std::uint8_t>(c));        // red
    }
    out.resize(start + stride, 0);
  }
  return writeBytes(file, std::string(out.begin(), out.end()));
}

CString SkinFolder::writeBytes(const std::string& file, const std::string& bytes) {
  std::ofstream(m_folder / file, std::ios::binary) << bytes;
  return windowsPath(file);
}

}  // namespace test
