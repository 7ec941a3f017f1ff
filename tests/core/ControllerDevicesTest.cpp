// The controller's device control, device notices and scan hooks.
#include "CoreTest.h"

#include "core/CDeviceList.h"
#include "core/CSubject.h"
#include "core/data/CAppSettings.h"

#include <machine/TvStickControl.h>
#include <vendor/qxmdll/QXUSBControl.h>
#include <win32/user.h>

namespace {

class ControllerDevicesTest : public test::ControllerTest {
 protected:
  plat::TvStickControl& stick() { return machine().service<plat::TvStickControl>(); }
  // The next message posted to this thread without a window, if any.
  bool takeThreadMessage(MSG& message) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!message.hwnd) return true;
    }
    return false;
  }
};

TEST_F(ControllerDevicesTest, OpeningTheDeviceControlResetsTheModeRegister) {
  CAppController::OpenDeviceControl();
  ASSERT_NE(g_pDeviceControl, nullptr);
  CQXUSB_Control* first = g_pDeviceControl;
  BYTE value = 0xAA;
  ASSERT_EQ(g_pDeviceControl->SetRegData(0xC16F, 255), 0);
  CAppController::OpenDeviceControl();  // a reopen keeps the object and resets again
  EXPECT_EQ(g_pDeviceControl, first);
  ASSERT_EQ(g_pDeviceControl->GetRegData(0xC16F, &value, 1), 0);
  EXPECT_EQ(value, 0);

  stick().setPlugged(false);
  CAppController::OpenDeviceControl();
  EXPECT_EQ(g_pDeviceControl, nullptr);
}

TEST_F(ControllerDevicesTest, ADeviceChangeRefreshesTheNamesAndTellsTheMainWindowOnlyWhenTheListChanged) {
  ASSERT_EQ(startUp(), 1);
  CDeviceList* devices = CDeviceList::Instance();
  ASSERT_NE(devices, nullptr);
  const int listed = g_pAppSettings->CaptureDeviceNames.GetSize();
  g_pAppSettings->CaptureDeviceNames.Add("Stale Device");
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
  }

  DeviceChanged = 0;
  devices->Notify(CDeviceList::kDeviceChangeEvent, 0, 0);
  EXPECT_FALSE(takeThreadMessage(message));
  EXPECT_EQ(g_pAppSettings->CaptureDeviceNames.GetSize(), listed + 1);

  DeviceChanged = 1;
  devices->Notify(CDeviceList::kDeviceChangeEvent, 0, 0);
  ASSERT_TRUE(takeThreadMessage(message));  // no main window: posted to the thread
  EXPECT_EQ(message.message, CAppController::UM_DEVICES_CHANGED);
  EXPECT_EQ(message.wParam, 1u);
  EXPECT_EQ(message.lParam, 0);
  EXPECT_EQ(g_pAppSettings->CaptureDeviceNames.GetSize(), devices->GetEntries().GetCount());
  DeviceChanged = 0;
}

TEST_F(ControllerDevicesTest, ASubjectGoingAwayIsForgotten) {
  controller = new CAppController;
  {
    CSubject subject;
    subject.Attach(controller);
  }
  deleteController();  // detaches from what it still knows: nothing freed is touched (ASan)
}

TEST_F(ControllerDevicesTest, TheScanTargetIsKeptOnlyWhileItIsAWindow) {
  controller = new CAppController;
  HWND window = CreateWindowExA(0, "STATIC", "target", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  controller->SetScanTargetWnd(nullptr);
  EXPECT_EQ(controller->GetScanTargetWnd(), nullptr);
  controller->SetScanTargetWnd(reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(controller->GetScanTargetWnd(), nullptr);
  controller->SetScanTargetWnd(window);
  EXPECT_EQ(controller->GetScanTargetWnd(), window);
  DestroyWindow(window);
  EXPECT_EQ(controller->GetScanTargetWnd(), nullptr);
}

TEST_F(ControllerDevicesTest, StopScanActsOnlyWhileAScanRuns) {
  ASSERT_EQ(startUp(), 1);
  ScanRunning = 1;
  controller->StopScan();  // idle: not scanning, the flag is not the controller's to clear
  EXPECT_EQ(CAppController::IsScanning(), 1);
  ScanRunning = 0;
  EXPECT_EQ(CAppController::IsScanning(), 0);
}

TEST_F(ControllerDevicesTest, TheStatusTextKeepsTheLastNonEmptyText) {
  controller = new CAppController;
  controller->SetStatusText("Recording");
  controller->SetStatusText("");
  controller->SetStatusText(nullptr);
  EXPECT_STREQ(controller->GetStatusText(), "Recording");
}

}  // namespace
