#include "ProjectTest.h"

#include <machine/StreamActivity.h>

#include <cstring>

namespace edtest {

void ProjectTest::SetUp() {
  ClipPlayerTest::SetUp();
  ASSERT_NE(project.module, nullptr);
  ASSERT_EQ(lib.mpeg_Init(), 1);
  const auto built = test::TestMachine::builtProgramFolder() / "Filter" / "qnmpeg2enc.ax";
  std::filesystem::create_directories(testMachine.programFolder() / "Filter");
  std::filesystem::copy_file(built, testMachine.programFolder() / "Filter" / "qnmpeg2enc.ax",
                             std::filesystem::copy_options::overwrite_existing);
  HMODULE encoder = LoadLibraryA("Filter\\qnmpeg2enc.ax");
  ASSERT_NE(encoder, nullptr);
  auto registerServer = reinterpret_cast<HRESULT (*)()>(GetProcAddress(encoder, "DllRegisterServer"));
  ASSERT_EQ(registerServer ? registerServer() : E_FAIL, S_OK);
  FreeLibrary(encoder);
  ASSERT_EQ(project.mpeg_Project_Open(), 1);
}

void ProjectTest::TearDown() {
  if (project.mpeg_Project_Close) project.mpeg_Project_Close();
  ClipPlayerTest::TearDown();
}

mpeg_src_s ProjectTest::clip(const std::string& file, double at, double mediaStart, double length, bool video) {
  mpeg_src_s src{};
  src.timeline_start = static_cast<std::int64_t>(at * kSecond);
  src.timeline_stop = static_cast<std::int64_t>((at + length) * kSecond);
  src.media_start = static_cast<std::int64_t>(mediaStart * kSecond);
  src.media_stop = static_cast<std::int64_t>((mediaStart + length) * kSecond);
  src.video_track = video ? 1 : 0;
  src.file_name = file.c_str();
  return src;
}

void ProjectTest::pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == UM_PROJECT_GRAPH_EVENT) ++graphEvents;
    DispatchMessageA(&msg);
  }
}

void ProjectTest::play(int ms) {
  for (int done = 0; done < ms; done += 40) {
    machine().clock().advance(40);
    // The pictures keep up with the clock, however slow the machine.
    plat::StreamActivity::instance().settle(machine().clock());
    pump();
  }
}

void ProjectTest::writeColourClips() {
  red = writeClip("red.mpg", 3);
  blue = writeClip("blue.mpg", 3, kBlue);
}

save_option_s ProjectTest::options(int type, const std::string& file) {
  save_option_s made{};
  made.output_type = type;
  std::strncpy(made.output_file, file.c_str(), sizeof(made.output_file) - 1);
  return made;
}

}  // namespace edtest
