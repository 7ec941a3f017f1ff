// The remote control read from the TV stick every 108 ms and relayed to the main program:
// invalid data and repeats dropped (held volume keys repeat from the fourth poll), digit
// keys mapped, the power key starting the main program when it is closed or, with
// "Remote Shutdown" ticked, shutting the PC down; a stick that cannot be opened is tried
// again every second.
#include "SchedulerTest.h"

#include <machine/Machine.h>
#include <machine/RemoteControl.h>

namespace {

using test::SchedulerTest;

constexpr int kPowerKey = 20;

class RemoteRelayTest : public SchedulerTest {
 protected:
  std::vector<LPARAM> relayed() {
    std::vector<LPARAM> keys;
    for (const auto& key : remoteKeys()) keys.push_back(key.lParam);
    return keys;
  }
  // Enough polls for every queued report.
  void poll(int reports) { robot.advance(static_cast<std::uint64_t>(reports) * CSchedulerDlg::kPollMs); }
  plat::RemoteControl& remote() { return machine().service<plat::RemoteControl>(); }
};

TEST_F(RemoteRelayTest, DigitKeysAreMappedAndKeysAboveNinetyFiveDropped) {
  openMainStandIn();
  open();
  for (const int key : {0, 8, 9, 10, 95, 96}) robot.pressRemoteKey(key);
  poll(6);
  EXPECT_EQ(relayed(), (std::vector<LPARAM>{1, 9, 0, 10, 95}));
  for (const auto& key : remoteKeys()) EXPECT_EQ(key.wParam, 0u);
}

TEST_F(RemoteRelayTest, KeysGoToTheLauncherNotToTheVideoEditorOfTheSameTitle) {
  openMainStandIn();
  // The video editor: same class and title, with a taskbar button of its own, in front.
  HWND editor = CreateWindowExA(WS_EX_APPWINDOW, "#32770", "Orvane Media", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_EQ(FindWindowA("#32770", "Orvane Media"), editor);
  open();
  robot.pressRemoteKey(30);
  poll(1);
  EXPECT_EQ(relayed(), (std::vector<LPARAM>{30}));
  DestroyWindow(editor);
}

TEST_F(RemoteRelayTest, AHeldKeyActsOnceAndAHeldVolumeKeyRepeatsFromTheFourthPoll) {
  openMainStandIn();
  open();
  robot.pressRemoteKey(30, 6);
  poll(6);
  EXPECT_EQ(relayed(), (std::vector<LPARAM>{30}));
  s_received.clear();
  robot.pressRemoteKey(16, 6);
  robot.pressRemoteKey(17, 3);
  poll(9);
  EXPECT_EQ(relayed(), (std::vector<LPARAM>{16, 16, 16, 16, 17}));
}

TEST_F(RemoteRelayTest, InvalidDataIsNoKeyAndStartsTheRepeatCountAfresh) {
  openMainStandIn();
  open();
  const std::uint32_t heldThirty = (30u << 8) | 1u;
  remote().queueRaw(30u << 8, 0xBD);
  remote().queueRaw(0xFFFFFFFF, 0xBD);
  remote().queueRaw(heldThirty, 0xBD);  // the count starts again: acts as a first poll
  remote().queueRaw(heldThirty | (1u << 24), 0xBD);
  remote().queueRaw(heldThirty, 0xBC);
  remote().queueRaw(heldThirty, 0xBD);
  remote().queueRaw(heldThirty, 0xBD);  // second poll since the reset: dropped
  poll(7);
  EXPECT_EQ(relayed(), (std::vector<LPARAM>{30, 30, 30}));
}

TEST_F(RemoteRelayTest, ThePowerKeyStartsTheClosedMainProgramAndOtherKeysAreDropped) {
  open();
  robot.pressRemoteKey(5);
  robot.pressRemoteKey(kPowerKey);
  poll(2);
  EXPECT_EQ(programStarts(), (std::vector<std::string>{programPath("Orvane Media.exe") + " "}));
  EXPECT_TRUE(powerLog().empty());
}

TEST_F(RemoteRelayTest, WithRemoteShutdownTheUnlockedPowerKeyShutsThePcDownAndIsRelayed) {
  openMainStandIn();
  open();
  robot.pressRemoteKey(kPowerKey);
  poll(1);
  EXPECT_EQ(relayed(), (std::vector<LPARAM>{kPowerKey}));
  EXPECT_TRUE(powerLog().empty());

  dlg->SendMessage(WM_COMMAND, CSchedulerDlg::ID_TRAY_REMOTE_SHUTDOWN, 0);
  EXPECT_TRUE(dlg->RemoteShutdown());
  robot.pressRemoteKey(kPowerKey);
  poll(1);
  EXPECT_EQ(relayed(), (std::vector<LPARAM>{kPowerKey, kPowerKey}));
  ASSERT_EQ(powerCategories(), (std::vector<std::string>{"shutdown"}));
  EXPECT_TRUE(robot.messageBoxes().empty());
}

TEST_F(RemoteRelayTest, AStickThatCannotBeOpenedIsTriedEverySecondUntilItOpens) {
  robot.plugTvStick(false);
  openMainStandIn();
  open();
  robot.pressRemoteKey(3);
  robot.advance(3000);
  EXPECT_TRUE(relayed().empty());
  EXPECT_EQ(remote().pending(), 1);
  robot.plugTvStick(true);
  robot.advance(1000);  // the retry opens it
  poll(2);
  EXPECT_EQ(relayed(), (std::vector<LPARAM>{4}));

  // Pulled out while polling: the read fails and the retries start again.
  robot.plugTvStick(false);
  robot.pressRemoteKey(4);
  robot.advance(5000);
  EXPECT_EQ(relayed().size(), 1u);
  robot.plugTvStick(true);
  robot.advance(1000 + 2 * CSchedulerDlg::kPollMs);
  EXPECT_EQ(relayed(), (std::vector<LPARAM>{4, 5}));
}

}  // namespace
