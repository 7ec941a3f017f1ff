#include "LiveGraphTest.h"

#include "core/CAppController.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"

#include <support/MachineWindows.h>

#include <com/objbase.h>
#include <vendor/qxmdll/QXUSBControl.h>

namespace test {

void LiveGraphTest::SetUp() {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  g_pAppSettings = new CAppSettings;
  g_pAppSettings->CaptureDeviceNames.Add("USB TV Device");
  g_pAppSettings->LineStandard = 4;
}

void LiveGraphTest::openVideoWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "LiveGraphTestVideo";
  RegisterClassA(&wc);
  window = CreateWindowExA(0, "LiveGraphTestVideo", "TV", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
}

void LiveGraphTest::TearDown() {
  delete g_pDeviceControl;
  g_pDeviceControl = nullptr;
  delete g_pChannelList;
  g_pChannelList = nullptr;
  delete g_pAppSettings;
  g_pAppSettings = nullptr;
  if (window) DestroyWindow(window);
  CoUninitialize();
}

void LiveGraphTest::setWindows(int platform, int major, int minor) { SetWindowsVersion(machine(), platform, major, minor); }

}  // namespace test
