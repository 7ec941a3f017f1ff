#include "ClipPlayerTest.h"

#include "NumberedPicture.h"

#include <machine/VideoSurfaces.h>
#include <support/Settling.h>
#include <win32/file.h>
#include <win32/system/DebugOutput.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace edtest {

void ClipPlayerTest::SetUp() {
  ASSERT_NE(lib.module, nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "ClipPlayerHost";
  RegisterClassA(&wc);
  host = CreateWindowExA(0, "ClipPlayerHost", "Clip", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 360, 300, nullptr,
                         nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
}

void ClipPlayerTest::TearDown() {
  if (lib.mpeg_Close) lib.mpeg_Close();
  if (IsWindow(host)) DestroyWindow(host);
}

std::string ClipPlayerTest::writeClip(const std::string& name, double seconds, dstest::MediaFileWriter::Colour colour) {
  const std::string path = "C:\\" + name;
  EXPECT_TRUE(dstest::MediaFileWriter::write(linuxPath(path), dstest::MediaFileWriter::Kind::MpegProgram, seconds, 176,
                                             144, colour));
  return path;
}

std::string ClipPlayerTest::writeNumbered(const std::string& name, dstest::MediaFileWriter::Coding coding, int frames,
                                         int rateNum, int rateDen) {
  const std::string path = "C:\\" + name;
  EXPECT_TRUE(dstest::MediaFileWriter::writeNumbered(linuxPath(path), coding, frames, rateNum, rateDen));
  return path;
}

int ClipPlayerTest::numberInBitmap(const std::string& windowsPath) {
  const auto bytes = fileBytes(windowsPath);
  if (bytes.size() < 54) return -1;
  const auto u32 = [&](size_t at) {
    return static_cast<std::int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
  };
  const int width = u32(18), height = u32(22), bytesPerPixel = (bytes[28] | bytes[29] << 8) / 8;
  const int stride = (width * bytesPerPixel + 3) / 4 * 4;
  const size_t bits = static_cast<size_t>(u32(10));
  if (width <= 0 || bytesPerPixel < 3 || bits + static_cast<size_t>(stride) * std::abs(height) > bytes.size()) return -1;
  return dstest::NumberedPicture::read(bytes.data() + bits, width, std::abs(height), bytesPerPixel, stride, height > 0);
}

std::string ClipPlayerTest::tempFolder() {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof(folder), folder);
  return folder;
}

bool ClipPlayerTest::pictureShown() {
  return test::holdsWhenSettled(machine().clock(), [&] {
    for (const auto& surface : machine().service<plat::VideoSurfaces>().ownedBy(host))
      if (surface->framesShown() > 0) return true;
    return false;
  });
}

std::vector<std::string> ClipPlayerTest::reports() {
  std::vector<std::string> found;
  for (const std::string& line : plat::DebugOutput::current().lines())
    if (line.find("Assertion failed: ") != std::string::npos) found.push_back(line.substr(line.find("Assertion failed: ") + 18));
  return found;
}

std::vector<std::uint8_t> ClipPlayerTest::fileBytes(const std::string& windowsPath) {
  std::ifstream in(linuxPath(windowsPath), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace edtest
