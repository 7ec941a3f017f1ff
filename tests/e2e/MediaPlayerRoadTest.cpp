// The media player's road in the built program, as a user walks it: a clip recorded in
// the TV window, the recordings button, the recording listed in the media player, chosen
// with Down and played with Enter to its end with a pause, a skip back and the progress
// following. The program's robot script plays the user; the test moves the machine clock
// the program shares, frame by frame, and tells the script when to go on by showing a
// window of the cue's name, which the script waits for. The screen is saved at each step
// and read back.
#include "ProgramsTest.h"

#include "MpegFileProbe.h"

#include <support/PictureFiles.h>
#include <win32/user.h>

#include <algorithm>
#include <cstring>
#include <fstream>

namespace {

constexpr char kCueClass[] = "MediaPlayerRoadCue";
constexpr std::uint64_t kFrameMs = 40;

// What the script does, step by step; each "Cue ..." window is shown by the test. The
// player is restored to the shared 800 x 600 place at (100, 100), where its bar stays in
// sight along the bottom of the window.
constexpr char kScript[] = R"(window "#32770" "Orvane Media"
key CTRL+T
window "#32770" "Orvane Media_TVDlg"
window * "Cue record"
key CTRL+R
window * "Cue stop"
key CTRL+S
window * "Cue player"
clickat 136 196
window "#32770" "Orvane Media_AVDlg"
clickat 942 38
move 500 400
window * "Cue shot opened"
screenshot opened
key DOWN
key RETURN
window * "Cue shot playing_a"
screenshot playing_a
window * "Cue shot playing_b"
screenshot playing_b
window * "Cue pause"
key CTRL+P
window * "Cue shot paused_a"
screenshot paused_a
window * "Cue shot paused_b"
screenshot paused_b
window * "Cue resume"
key CTRL+P
window * "Cue shot resumed"
screenshot resumed
window * "Cue skip"
key CTRL+SHIFT+D
window * "Cue shot skipped"
screenshot skipped
window * "Cue shot ended"
screenshot ended
key BACKSPACE
window "#32770" "Orvane Media_TVDlg"
window * "Cue leave"
key BACKSPACE
window "#32770" "Orvane Media"
close
)";

// The part of a screenshot in the restored media player's video area (193, 79, 993, 649
// of the 1024 x 768 design on its 800 x 600 client area at (100, 100)), and the filled part
// of the progress along the middle of the progress bar (14 to 602 across and 8 to 18 down
// on the bar, which lies along the bottom of the window from its left edge).
struct PlayerScreen {
  explicit PlayerScreen(const std::filesystem::path& png) : picture(test::ReadPngFile(png)) {}

  bool read() const { return picture.width == 1024 && picture.height == 768; }
  const std::uint8_t* at(int x, int y) const { return picture.at(x, y); }
  // Share of the video area's sampled pixels that are black.
  double blackShare() const {
    int black = 0, all = 0;
    for (int y = 170; y < 600; y += 10)
      for (int x = 260; x < 870; x += 10, ++all)
        if (at(x, y)[0] < 16 && at(x, y)[1] < 16 && at(x, y)[2] < 16) ++black;
    return static_cast<double>(black) / all;
  }
  // Sampled pixels of the video area that differ from the other screen's.
  int differences(const PlayerScreen& other) const {
    int differ = 0;
    for (int y = 170; y < 600; y += 5)
      for (int x = 260; x < 870; x += 5)
        if (std::memcmp(at(x, y), other.at(x, y), 3) != 0) ++differ;
    return differ;
  }
  // Pixels of the progress bar's middle row in the accent colour of its filled part
  // (blue, green, red).
  int progressFill() const {
    int filled = 0;
    for (int x = 100 + 14; x < 100 + 602; ++x) {
      const std::uint8_t* p = at(x, 700 - 60 + 13);
      if (p[0] > 150 && p[1] > 120 && p[2] < 140) ++filled;
    }
    return filled;
  }

  test::TestPicture picture;
};

class MediaPlayerRoadTest : public test::ProgramsTest {
 protected:
  MediaPlayerRoadTest() {
    installMainProgram();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = kCueClass;
    RegisterClassA(&wc);
  }
  ~MediaPlayerRoadTest() override {
    for (HWND cue : m_cues) DestroyWindow(cue);
  }

  // The window the script waits for before its next step.
  void cue(const std::string& name) {
    m_cues.push_back(CreateWindowExA(0, kCueClass, ("Cue " + name).c_str(), WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     nullptr, nullptr));
  }
  std::filesystem::path shotFile(const std::string& name) { return testMachine.root() / (name + ".png"); }
  // The screen saved by the script at this time of the clock.
  bool shot(const std::string& name) {
    cue("shot " + name);
    return waitUntil([&] { return std::filesystem::exists(shotFile(name)); });
  }
  PlayerScreen screen(const std::string& name) { return PlayerScreen(shotFile(name)); }
  std::filesystem::path recording() { return testMachine.programFolder() / "Videos" / "cap00.mpg"; }

 private:
  std::vector<HWND> m_cues;
};

std::uint32_t Le32(const std::vector<char>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

TEST_F(MediaPlayerRoadTest, ARecordingIsFoundAndPlayedToItsEnd) {
  const pid_t program = start("Orvane Media", kScript);
  ASSERT_NE(program, 0);
  ASSERT_NE(waitForWindow("Orvane Media_TVDlg"), nullptr);
  advance(1000, kFrameMs);
  cue("record");
  ASSERT_TRUE(advanceUntil(5000, kFrameMs, [&] { return std::filesystem::exists(recording()); }));
  advance(12000, kFrameMs);
  cue("stop");
  advance(1000, kFrameMs);
  cue("player");
  ASSERT_NE(waitForWindow("Orvane Media_AVDlg"), nullptr);
  advance(300, kFrameMs);
  ASSERT_TRUE(shot("opened"));
  advance(1300, kFrameMs);
  ASSERT_TRUE(shot("playing_a"));
  advance(800, kFrameMs);
  ASSERT_TRUE(shot("playing_b"));
  cue("pause");
  advance(300, kFrameMs);
  ASSERT_TRUE(shot("paused_a"));
  advance(1000, kFrameMs);
  ASSERT_TRUE(shot("paused_b"));
  cue("resume");
  advance(1000, kFrameMs);
  ASSERT_TRUE(shot("resumed"));
  cue("skip");
  advance(400, kFrameMs);
  ASSERT_TRUE(shot("skipped"));
  advance(15000, kFrameMs);
  ASSERT_TRUE(shot("ended"));
  advance(1000, kFrameMs);
  cue("leave");
  ASSERT_TRUE(advanceUntil(10000, kFrameMs, [&] { return FindWindowA("#32770", "Orvane Media") == nullptr; }));
  EXPECT_EQ(waitForExit(program), 0);

  const rectest::MpegFileProbe probe(recording().string());
  ASSERT_TRUE(probe.ok());
  // Some of the twelve seconds' pictures may be missed while the capture thread lags the
  // clock; the playing below needs four.
  EXPECT_GT(probe.video().seconds, 4.0);
  EXPECT_LT(probe.video().seconds, 13.5);
  std::ifstream list(testMachine.programFolder() / "histroyMedia.lis", std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(list)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.size(), 4u + 264u) << "the recording, listed once";
  EXPECT_EQ(Le32(bytes, 0), 1u);
  EXPECT_EQ(std::string(bytes.data() + 8), machine().paths().toWindows(recording()));

  const PlayerScreen opened = screen("opened");
  ASSERT_TRUE(opened.read());
  EXPECT_GT(opened.blackShare(), 0.9) << "no file open: the video area is dark";
  const PlayerScreen playingA = screen("playing_a"), playingB = screen("playing_b"), pausedA = screen("paused_a"),
                     pausedB = screen("paused_b"), resumed = screen("resumed"), skipped = screen("skipped"),
                     ended = screen("ended");
  for (const PlayerScreen* shot : {&playingA, &playingB, &pausedA, &pausedB, &resumed, &skipped, &ended})
    ASSERT_TRUE(shot->read());
  EXPECT_LT(playingA.blackShare(), 0.5) << "the recording shows in the video area";
  // The picture moves on while the file plays (the pictures come on streaming threads,
  // which may lag the clock by a frame or two).
  EXPECT_GT(std::max(playingB.differences(playingA), resumed.differences(playingA)), 100) << "and moves";
  EXPECT_GT(playingB.progressFill(), playingA.progressFill()) << "the progress follows";
  EXPECT_EQ(pausedB.differences(pausedA), 0) << "paused, the picture stands";
  EXPECT_EQ(pausedB.progressFill(), pausedA.progressFill());
  EXPECT_GT(resumed.progressFill(), pausedB.progressFill());
  EXPECT_LT(skipped.progressFill(), resumed.progressFill() / 2) << "ten seconds back";
  EXPECT_GT(ended.blackShare(), 0.9) << "at its end the file is closed";
  EXPECT_EQ(ended.progressFill(), 0);
}

}  // namespace
