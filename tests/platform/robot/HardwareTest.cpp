// The robot handles the PC's hardware as a user would: the TV stick comes and goes with
// device notices, and the Composite input shows what it is given.
#include <support/TestMachine.h>

#include <dshow/uuids.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <robot/Robot.h>
#include <win32/user.h>
#include <win32/user/devnotify.h>

#include <vector>

namespace {

std::vector<WPARAM> g_notices;

LRESULT CALLBACK watcherProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEVICECHANGE) g_notices.push_back(wParam);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class RobotHardwareTest : public test::MachineTest {
 protected:
  RobotHardwareTest() { g_notices.clear(); }
  plat::TvStickCapture& stick() { return machine().service<plat::TvStickCapture>(); }
};

TEST_F(RobotHardwareTest, UnpluggingAndPluggingTheStickIsAnnounced) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = watcherProc;
  cls.lpszClassName = "Watcher";
  RegisterClassA(&cls);
  HWND watcher = CreateWindowExA(0, "Watcher", "Devices", WS_POPUP, 0, 0, 2, 2, nullptr, nullptr, nullptr, nullptr);
  DEV_BROADCAST_DEVICEINTERFACE_A filter{};
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = AM_KSCATEGORY_CAPTURE;
  HDEVNOTIFY registration = RegisterDeviceNotificationA(watcher, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  ASSERT_NE(registration, nullptr);

  plat::Robot robot;
  ASSERT_TRUE(stick().control().isPlugged());
  robot.plugTvStick(false);
  EXPECT_FALSE(stick().control().isPlugged());
  robot.plugTvStick(true);
  EXPECT_TRUE(stick().control().isPlugged());
  EXPECT_EQ(g_notices, (std::vector<WPARAM>{DBT_DEVICEREMOVECOMPLETE, DBT_DEVICEARRIVAL}));

  UnregisterDeviceNotification(registration);
  DestroyWindow(watcher);
}

TEST_F(RobotHardwareTest, TheCompositeInputShowsWhatTheRobotGivesIt) {
  plat::Robot robot;
  stick().setInput(plat::TvStickCapture::Input::Composite);
  robot.showOnComposite("DVD player");
  ASSERT_TRUE(stick().signalPresent());
  EXPECT_EQ(stick().scene().kind, plat::Scene::Kind::External);
  EXPECT_EQ(stick().scene().name, "DVD player");
  robot.showOnComposite("");
  EXPECT_FALSE(stick().signalPresent());
  EXPECT_EQ(stick().scene().kind, plat::Scene::Kind::Snow);
}

}  // namespace
