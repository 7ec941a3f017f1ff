// The watcher of video capture devices arriving and leaving: a hidden frame window that
// registers for device-interface notices of the capture category when it is created and
// unregisters when it is closed. It keeps the last arrival or removal and passes each on
// to the device list as event 80 with the device path in wParam and the notice
// (DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE) in lParam.
#pragma once

#include <mfc/wnd/CFrameWnd.h>
#include <win32/sync.h>
#include <win32/user/devnotify.h>

class CDeviceObserver : public CFrameWnd {
  DECLARE_DYNCREATE(CDeviceObserver)

 public:
  CDeviceObserver();
  ~CDeviceObserver() override;

  // The last notice kept (0 before any) and the device path of its record.
  UINT GetLastEvent();
  CString GetLastDevicePath();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnClose();
  afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
  DECLARE_MESSAGE_MAP()

 private:
  using RegisterFunction = HDEVNOTIFY (*)(HANDLE, LPVOID, DWORD);
  using UnregisterFunction = BOOL (*)(HDEVNOTIFY);

  void Unregister();
  // Replaces the kept record by a copy of `record`.
  void Keep(UINT event, const DEV_BROADCAST_DEVICEINTERFACE_A& record);

  HDEVNOTIFY m_notification = nullptr;
  RegisterFunction m_register = nullptr;
  UnregisterFunction m_unregister = nullptr;
  UINT m_lastEvent = 0;
  DEV_BROADCAST_DEVICEINTERFACE_A* m_lastRecord = nullptr;
  CRITICAL_SECTION m_lock;
};
