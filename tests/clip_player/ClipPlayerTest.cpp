#include "ClipPlayerTest.h"

#include <machine/VideoSurfaces.h>
#include <support/Settling.h>
#include <win32/DebugOutput.h>
#include <win32/file.h>

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
