// The capture device list and its watcher: the TV stick plugged and unplugged through the
// robot, the list following and its observers told only of real changes.
#include "core/CDeviceList.h"
#include "core/CDeviceObserver.h"

#include <com/objbase.h>
#include <dshow/uuids.h>
#include <machine/TvStickCapture.h>
#include <robot/Robot.h>
#include <support/TestMachine.h>
#include <win32/user.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Told {
  int event;
  std::string path;
  LPARAM notice;
};

class RecordingObserver : public CObserver {
 public:
  int OnNotify(int event, WPARAM wParam, LPARAM lParam) override {
    told.push_back({event, event == CDeviceList::kDeviceChangeEvent ? reinterpret_cast<LPCSTR>(wParam) : "", lParam});
    return CObserver::OnNotify(event, wParam, lParam);
  }
  std::vector<Told> told;
};

class DeviceListTest : public test::MachineTest {
 protected:
  DeviceListTest() {
    CoInitialize(nullptr);
    DeviceChanged = 0;
  }
  ~DeviceListTest() override {
    CDeviceList::Release();
    DeviceChanged = 0;
    CoUninitialize();
  }
  const std::string& stickPath() { return machine().service<plat::TvStickCapture>().devicePath(); }
  const std::string& stickName() { return machine().service<plat::TvStickCapture>().friendlyName(); }
  static int count() { return CDeviceList::Instance()->GetEntries().GetCount(); }
  plat::Robot robot;
};

TEST_F(DeviceListTest, TheListHoldsTheStickAndAHiddenWatcherMadeByClassName) {
  CDeviceList* devices = CDeviceList::GetInstance();
  ASSERT_NE(devices, nullptr);
  EXPECT_EQ(CDeviceList::GetInstance(), devices);
  ASSERT_EQ(count(), 1);
  EXPECT_STREQ(devices->GetEntries().GetHead().GetFriendlyName(), stickName().c_str());
  ASSERT_NE(devices->GetWatcher(), nullptr);
  EXPECT_TRUE(devices->GetWatcher()->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
  HWND watcher = FindWindowA(nullptr, "Devices");
  ASSERT_EQ(watcher, devices->GetWatcher()->m_hWnd);
  EXPECT_FALSE(IsWindowVisible(watcher));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(watcher, GWL_STYLE)) & 0x80880000u, 0x80880000u);
  EXPECT_EQ(devices->GetWatcher()->GetLastEvent(), 0u);
}

TEST_F(DeviceListTest, UnpluggingAndPluggingTheStickIsFollowedAndPassedOn) {
  CDeviceList* devices = CDeviceList::GetInstance();
  RecordingObserver observer;
  devices->Attach(&observer);

  robot.plugTvStick(false);
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(DeviceChanged, 1);
  EXPECT_EQ(devices->GetWatcher()->GetLastEvent(), static_cast<UINT>(DBT_DEVICEREMOVECOMPLETE));
  EXPECT_STREQ(devices->GetWatcher()->GetLastDevicePath(), stickPath().c_str());

  DeviceChanged = 0;
  robot.plugTvStick(true);  // an arrival removes nothing, yet the new device is listed
  ASSERT_EQ(count(), 1);
  EXPECT_STREQ(devices->GetEntries().GetHead().GetFriendlyName(), stickName().c_str());
  EXPECT_EQ(DeviceChanged, 1);
  EXPECT_EQ(devices->GetWatcher()->GetLastEvent(), static_cast<UINT>(DBT_DEVICEARRIVAL));

  ASSERT_EQ(observer.told.size(), 2u);
  EXPECT_EQ(observer.told[0].event, CDeviceList::kDeviceChangeEvent);
  EXPECT_EQ(observer.told[0].path, stickPath());
  EXPECT_EQ(observer.told[0].notice, DBT_DEVICEREMOVECOMPLETE);
  EXPECT_EQ(observer.told[1].notice, DBT_DEVICEARRIVAL);
  devices->Detach(&observer);
}

TEST_F(DeviceListTest, AChangeThatLeavesTheListAsItWasIsNotPassedOn) {
  CDeviceList* devices = CDeviceList::GetInstance();
  RecordingObserver observer;
  devices->Attach(&observer);
  const std::string other = "\\\\?\\usb#vid_0000&pid_0000#1#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
  EXPECT_EQ(devices->OnNotify(CDeviceList::kDeviceChangeEvent, reinterpret_cast<WPARAM>(other.c_str()),
                              DBT_DEVICEREMOVECOMPLETE),
            1);
  // The stick is listed already: a repeated arrival changes nothing.
  devices->OnNotify(CDeviceList::kDeviceChangeEvent, reinterpret_cast<WPARAM>(stickPath().c_str()), DBT_DEVICEARRIVAL);
  devices->OnNotify(CDeviceList::kDeviceChangeEvent, 0, DBT_DEVICEREMOVECOMPLETE);
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(DeviceChanged, 0);
  EXPECT_TRUE(observer.told.empty());

  devices->OnNotify(81, 7, 9);  // any other event goes on unchanged
  ASSERT_EQ(observer.told.size(), 1u);
  EXPECT_EQ(observer.told[0].event, 81);
  EXPECT_EQ(observer.told[0].notice, 9);
  devices->Detach(&observer);
}

TEST_F(DeviceListTest, DevicePathsMatchWithoutTheMonikerPrefixAndCaseAside) {
  CDeviceList* devices = CDeviceList::GetInstance();
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(devices->RemoveDevice("\\\\?\\USB#other"), 0);
  EXPECT_EQ(devices->RemoveDevice(nullptr), 0);
  std::string upper = stickPath();
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(devices->RemoveDevice(upper.c_str()), 1);
  EXPECT_EQ(count(), 0);
  devices->Refresh();  // the emptied list fills again
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(devices->RemoveDevice(("@device:pnp:" + stickPath()).c_str()), 1);
}

TEST_F(DeviceListTest, TheWatcherKeepsOnlyCaptureArrivalsAndRemovals) {
  CDeviceObserver* watcher = CDeviceList::GetInstance()->GetWatcher();
  DEV_BROADCAST_DEVICEINTERFACE_A record = {};
  record.dbcc_size = sizeof(record);
  record.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  record.dbcc_classguid = AM_KSCATEGORY_CAPTURE;
  SendMessageA(watcher->m_hWnd, WM_DEVICECHANGE, 0x0007, reinterpret_cast<LPARAM>(&record));  // another notice
  SendMessageA(watcher->m_hWnd, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);                         // no record
  record.dbcc_classguid = CLSID_VideoInputDeviceCategory;
  SendMessageA(watcher->m_hWnd, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&record));
  record.dbcc_classguid = AM_KSCATEGORY_CAPTURE;
  record.dbcc_size = 8;  // too short to hold its class
  SendMessageA(watcher->m_hWnd, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&record));
  EXPECT_EQ(watcher->GetLastEvent(), 0u);

  record.dbcc_size = sizeof(record);
  // A name without its terminator is cut at the record's end.
  std::memset(reinterpret_cast<char*>(&record) + offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name), 'X', 4);
  SendMessageA(watcher->m_hWnd, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&record));
  EXPECT_EQ(watcher->GetLastEvent(), static_cast<UINT>(DBT_DEVICEREMOVECOMPLETE));
  EXPECT_EQ(watcher->GetLastDevicePath().GetLength(), 4);
}

TEST_F(DeviceListTest, ReleasingTheListClosesTheWatcherAndEndsItsRegistration) {
  CDeviceList::GetInstance();
  ASSERT_NE(FindWindowA(nullptr, "Devices"), nullptr);
  CDeviceList::Release();
  EXPECT_EQ(CDeviceList::Instance(), nullptr);
  EXPECT_EQ(FindWindowA(nullptr, "Devices"), nullptr);
  robot.plugTvStick(false);  // nobody is told, and nothing freed is touched (ASan)
  robot.plugTvStick(true);
  EXPECT_EQ(DeviceChanged, 0);
}

TEST_F(DeviceListTest, ASubjectTheListObservesMayGoFirst) {
  CDeviceList* devices = CDeviceList::GetInstance();
  RecordingObserver observer;
  devices->Attach(&observer);
  {
    CSubject subject;
    subject.Attach(devices);
  }
  EXPECT_TRUE(observer.told.empty());  // the list's own affair, not passed on
  devices->Detach(&observer);
  CDeviceList::Release();  // detaches from what it still knows: nothing freed (ASan)
}

}  // namespace
