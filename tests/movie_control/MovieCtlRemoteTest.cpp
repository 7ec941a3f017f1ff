// The card's remote control read on the control's 100 ms timer, and the setup frame it
// opens with the control's property page.
#include "MovieCtlTest.h"

#include <movie_control/CRemoteInput.h>
#include <movie_control/CVidProp.h>

#include <robot/Robot.h>
#include <win32/thread.h>
#include <win32/user.h>
#include <win32/user/UserSystem.h>

using Lines = std::vector<std::string>;

namespace test {
namespace {

class MovieCtlRemoteTest : public MovieCtlTest {
 protected:
  void SetUp() override {
    MovieCtlTest::SetUp();
    ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
    run("put Channel 2");
    takeEvents();
  }
  // Holds the key for one poll and lets it go for the next.
  void press(int code) {
    card().setRemoteCode(code);
    advance(100);
    card().setRemoteCode(0);
    advance(100);
  }
  std::string channel() { return run("get Channel"); }
};

}  // namespace

TEST_F(MovieCtlRemoteTest, ChannelKeysStepAndAHeldKeyActsOnce) {
  press(14);
  EXPECT_EQ(channel(), "get Channel -> 3 (0x00000000)");
  EXPECT_EQ(takeEvents(), (Lines{"event OnChannelChanging(2, 3)", "event OnChannelChanged(3)"}));
  card().setRemoteCode(13);
  advance(1000);
  card().setRemoteCode(0);
  advance(100);
  EXPECT_EQ(channel(), "get Channel -> 2 (0x00000000)");
  press(12);  // the previous channel
  EXPECT_EQ(channel(), "get Channel -> 3 (0x00000000)");
}

TEST_F(MovieCtlRemoteTest, DigitsTuneAndTwoDigitEntriesWaitTwoSecondsOnTheClock) {
  press(5);
  EXPECT_EQ(channel(), "get Channel -> 5 (0x00000000)");
  press(10);  // digit 0: channel 0 lies outside the table and is refused
  EXPECT_EQ(channel(), "get Channel -> 5 (0x00000000)");

  press(11);  // two-digit mode
  press(3);
  EXPECT_EQ(channel(), "get Channel -> 5 (0x00000000)");
  advance(1500);
  press(5);
  EXPECT_EQ(channel(), "get Channel -> 35 (0x00000000)");

  press(3);
  advance(2500);
  press(5);  // the 3 has timed out: 5 waits now
  EXPECT_EQ(channel(), "get Channel -> 35 (0x00000000)");
  press(7);
  EXPECT_EQ(channel(), "get Channel -> 57 (0x00000000)");

  press(10);  // a first digit 0 is a digit too
  press(4);
  EXPECT_EQ(channel(), "get Channel -> 4 (0x00000000)");
}

TEST_F(MovieCtlRemoteTest, VolumeAndMuteKeysGoThroughTheControl) {
  run("put Volume 65535");
  takeEvents();
  press(16);  // volume up at the maximum stays there
  EXPECT_EQ(run("get Volume"), "get Volume -> 65535 (0x00000000)");
  EXPECT_EQ(takeEvents(), (Lines{"event OnVolumeChanging(65535, 65535)", "event OnVolumeChanged(65535)"}));
  press(15);
  EXPECT_EQ(run("get Volume"), "get Volume -> 64225 (0x00000000)");
  // Lines 4..0 reading 1, 0, 0, 1, 1: code 19, the mute key.
  press(0b10011);
  EXPECT_EQ(run("get Mute"), "get Mute -> 1 (0x00000000)");
  press(19);
  EXPECT_EQ(run("get Mute"), "get Mute -> 0 (0x00000000)");
}

TEST(RemoteCodesTest, CodesMapToTheirCommands) {
  EXPECT_EQ(CRemoteInput::CommandOf(1), 7);
  EXPECT_EQ(CRemoteInput::CommandOf(10), 7);
  EXPECT_EQ(CRemoteInput::CommandOf(11), 6);
  EXPECT_EQ(CRemoteInput::CommandOf(19), 13);
  EXPECT_EQ(CRemoteInput::CommandOf(24), 19);
  EXPECT_EQ(CRemoteInput::CommandOf(31), 5);
  EXPECT_EQ(CRemoteInput::CommandOf(0), 0);
  EXPECT_EQ(CRemoteInput::CommandOf(32), 0);
  EXPECT_EQ(CRemoteInput::CommandOf(-1), 0);
}

TEST_F(MovieCtlRemoteTest, TheSettingsKeyOpensThePropertyPageWhoseTrackbarsSetThePicture) {
  const std::string title = CRemoteInput::SetupFrameTitle();
  HWND seenFrame = nullptr;
  long shownBrightness = -1;
  int step = 0;
  // While the frame runs modally, look at it, move the brightness trackbar and close it
  // with the key again.
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), [&]() -> int {
    HWND frame = FindWindowA(nullptr, title.c_str());
    if (!frame) return -1;
    if (step == 0) {
      seenFrame = frame;
      HWND trackbar = nullptr;
      for (HWND child = GetWindow(frame, GW_CHILD); child && !trackbar; child = GetWindow(child, GW_HWNDNEXT))
        trackbar = GetDlgItem(child, CVidProp::kFirstTrackbar);
      shownBrightness = trackbar ? static_cast<long>(SendMessageA(trackbar, TBM_GETPOS, 0, 0)) : -1;
      if (trackbar) {
        SendMessageA(trackbar, WM_KEYDOWN, VK_END, 0);
      }
      ++step;
      card().setRemoteCode(0);
      return 0;
    }
    if (step == 1) {
      ++step;
      card().setRemoteCode(24);  // the settings key again closes the frame
      advance(100);
      return 0;
    }
    return -1;
  });
  card().setRemoteCode(24);
  advance(100);
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), nullptr);
  EXPECT_NE(seenFrame, nullptr);
  EXPECT_FALSE(IsWindow(seenFrame));
  EXPECT_EQ(shownBrightness, card().procAmpRange(0).def);
  EXPECT_EQ(card().procAmp(0), card().procAmpRange(0).max);
}

}  // namespace test
