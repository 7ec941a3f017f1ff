// Fixture of the editing project's tests: the clip player's fixture (which initialises
// COM through mpeg_Init, as the editor does), the project library, the encoder module
// registered as the program registers its Filter folder, and clips built as the editor
// builds them.
#pragma once

#include "CutvalonLibrary.h"

#include "clip_player/ClipPlayerTest.h"

namespace edtest {

constexpr std::int64_t kSecond = 10000000;
constexpr dstest::MediaFileWriter::Colour kBlue = {41, 240, 110};

class ProjectTest : public ClipPlayerTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A clip of `file` from `mediaStart` for `length` seconds at `at` on the timeline.
  static mpeg_src_s clip(const std::string& file, double at, double mediaStart, double length, bool video = true);
  // Runs the preview's clock by `ms` in frame steps, the streaming threads settled after each.
  void play(int ms);
  // Handles the messages posted to this thread; counts the project's graph events.
  void pump();
  save_option_s options(int type, const std::string& file);
  // Writes two 3-second clips, one red and one blue, into `red` and `blue`.
  void writeColourClips();

  CutvalonLibrary project;
  int graphEvents = 0;
  std::string red;
  std::string blue;
};

}  // namespace edtest
