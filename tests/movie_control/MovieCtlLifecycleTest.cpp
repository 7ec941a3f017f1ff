// The control's window, its graph's run state around frame changes, and controls made one
// after another in the same module.
#include "MovieCtlTest.h"

#include <com/objbase.h>
#include <movie_control/QXMovie.h>
#include <support/FrameStepping.h>
#include <win32/module.h>
#include <win32/user.h>

using Lines = std::vector<std::string>;

namespace test {
namespace {

class MovieCtlLifecycleTest : public MovieCtlTest {};

}  // namespace

TEST_F(MovieCtlLifecycleTest, TheVideoWindowFollowsTheControlsRectangle) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  run("call Play");
  ASSERT_NE(surface(), nullptr);
  auto placement = surface()->placement();
  EXPECT_TRUE(placement.visible);
  EXPECT_EQ(placement.rect.left, 0);
  EXPECT_EQ(placement.rect.right, 320);
  EXPECT_EQ(placement.rect.bottom, 240);
  EXPECT_EQ(run("move 20 30 200 150"), "move -> 0x00000000");
  placement = surface()->placement();
  EXPECT_EQ(placement.owner, host->ControlWindow());
  EXPECT_EQ(placement.rect.left, 0);
  EXPECT_EQ(placement.rect.top, 0);
  EXPECT_EQ(placement.rect.right, 200);
  EXPECT_EQ(placement.rect.bottom, 150);
  EXPECT_EQ(run("call Stop"), "call Stop -> 0x00000000");
  EXPECT_FALSE(surface()->placement().visible);
}

TEST_F(MovieCtlLifecycleTest, AFrameChangeLeavesTheGraphAsItWas) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  // Built but never run: a new size does not start it.
  EXPECT_EQ(run("put FrameWidth 320"), "put FrameWidth 320 -> 0x00000000");
  EXPECT_EQ(run("get FrameWidth"), "get FrameWidth -> 320 (0x00000000)");
  run("call Play");
  run("call Pause");
  EXPECT_EQ(run("put FrameHeight 240"), "put FrameHeight 240 -> 0x00000000");
  EXPECT_EQ(run("get FrameHeight"), "get FrameHeight -> 240 (0x00000000)");
  run("call Play");
  ASSERT_TRUE(ShowFrames(machine(), surface(), 1));
}

TEST_F(MovieCtlLifecycleTest, ASecondControlInTheModuleHasItsOwnMixerAndRemote) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  EXPECT_EQ(run("get CanControlVolume"), "get CanControlVolume -> 1 (0x00000000)");
  // The first control goes; a new one in the same window takes its place.
  host->Close();
  host = std::make_unique<CControlHost>(window, [this](const std::string& line) { events.push_back(line); });
  ASSERT_EQ(host->Create(CLSID_MovieCtl, RECT{10, 10, 330, 250}), S_OK);
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  EXPECT_EQ(run("get CanControlVolume"), "get CanControlVolume -> 1 (0x00000000)");
  EXPECT_EQ(run("get VolumeMetric"), "get VolumeMetric -> 1310 (0x00000000)");
  takeEvents();
  card().setRemoteCode(14);
  advance(100);
  card().setRemoteCode(0);
  advance(100);
  EXPECT_EQ(takeEvents(), (Lines{"event OnChannelChanging(1, 2)", "event OnChannelChanged(2)"}));
}

TEST_F(MovieCtlLifecycleTest, TheModuleCanUnloadOnlyWhenItsObjectsAreGone) {
  HMODULE module = LoadLibraryA("Kinovar.ocx");
  ASSERT_NE(module, nullptr);
  auto canUnload = reinterpret_cast<HRESULT (*)()>(GetProcAddress(module, "DllCanUnloadNow"));
  ASSERT_NE(canUnload, nullptr);
  EXPECT_EQ(canUnload(), S_FALSE);
  host.reset();
  EXPECT_EQ(canUnload(), S_OK);
  FreeLibrary(module);
}

}  // namespace test
