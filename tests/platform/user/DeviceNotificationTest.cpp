// Device notices: registration through the run-time look-up programs use, and the
// WM_DEVICECHANGE a registered window gets.
#include "WindowTest.h"

#include <win32/module.h>
#include <win32/user/DeviceNotifications.h>

#include <string>

namespace test {
namespace {

// The video capture device interface class.
DEFINE_GUID(kCaptureClass, 0x65E8773D, 0x8F56, 0x11D0, 0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96);
DEFINE_GUID(kOtherClass, 0x1, 0x2, 0x3, 0x4, 0x5, 0x6, 0x7, 0x8, 0x9, 0xA, 0xB);

using Register = HDEVNOTIFY (*)(HANDLE, LPVOID, DWORD);
using Unregister = BOOL (*)(HDEVNOTIFY);

struct Notice {
  WPARAM event;
  DWORD size;
  GUID interfaceClass;
  std::string name;
};
std::vector<Notice> g_notices;

class DeviceNotificationTest : public UserTest {};

TEST_F(DeviceNotificationTest, ARegisteredWindowHearsOfItsClassOnly) {
  g_notices.clear();
  registerClass("Observer", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_DEVICECHANGE) {
      const auto* record = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(lParam);
      g_notices.push_back({wParam, record->dbcc_size, record->dbcc_classguid, record->dbcc_name});
      return TRUE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  HWND hwnd = CreateWindowExA(0, "Observer", "Devices", WS_POPUP, 0, 0, 2, 2, nullptr, nullptr, nullptr, nullptr);
  HMODULE user32 = GetModuleHandleA("user32");
  ASSERT_NE(user32, nullptr);
  const auto registerNotification = reinterpret_cast<Register>(GetProcAddress(user32, "RegisterDeviceNotificationA"));
  const auto unregisterNotification = reinterpret_cast<Unregister>(GetProcAddress(user32, "UnregisterDeviceNotification"));
  ASSERT_NE(registerNotification, nullptr);
  ASSERT_NE(unregisterNotification, nullptr);

  DEV_BROADCAST_DEVICEINTERFACE_A filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = kCaptureClass;
  HDEVNOTIFY handle = registerNotification(hwnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  ASSERT_NE(handle, nullptr);

  auto& notifications = plat::DeviceNotifications::instance();
  notifications.announce(true, kCaptureClass, "\\\\?\\usb#vid_0000");
  notifications.announce(true, kOtherClass, "\\\\?\\other");
  notifications.announce(false, kCaptureClass, "\\\\?\\usb#vid_0000");
  ASSERT_EQ(g_notices.size(), 2u);
  EXPECT_EQ(g_notices[0].event, static_cast<WPARAM>(DBT_DEVICEARRIVAL));
  EXPECT_EQ(g_notices[0].name, "\\\\?\\usb#vid_0000");
  EXPECT_EQ(g_notices[0].size, 12u + 16u + 17u);
  EXPECT_TRUE(g_notices[0].interfaceClass == kCaptureClass);
  EXPECT_EQ(g_notices[1].event, static_cast<WPARAM>(DBT_DEVICEREMOVECOMPLETE));

  EXPECT_TRUE(unregisterNotification(handle));
  EXPECT_FALSE(unregisterNotification(handle));
  notifications.announce(true, kCaptureClass, "x");
  EXPECT_EQ(g_notices.size(), 2u);
  filter.dbcc_devicetype = 1;
  EXPECT_EQ(registerNotification(hwnd, &filter, 0), nullptr);
}

}  // namespace
}  // namespace test
