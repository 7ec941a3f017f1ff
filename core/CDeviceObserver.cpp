#include "core/CDeviceObserver.h"

#include "core/CDeviceList.h"

#include <dshow/uuids.h>
#include <win32/module.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNCREATE(CDeviceObserver, CFrameWnd)

BEGIN_MESSAGE_MAP(CDeviceObserver, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_DEVICECHANGE()
END_MESSAGE_MAP()

namespace {

// A notice of a capture device interface, long enough to hold its class.
bool IsCaptureNotice(UINT event, const DEV_BROADCAST_HDR* header) {
  if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return false;
  if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
      header->dbch_size < offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name))
    return false;
  return IsEqualGUID(reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(header)->dbcc_classguid,
                     AM_KSCATEGORY_CAPTURE);
}

}  // namespace

CDeviceObserver::CDeviceObserver() { InitializeCriticalSection(&m_lock); }

CDeviceObserver::~CDeviceObserver() {
  Unregister();  // a window destroyed without being closed
  std::free(m_lastRecord);
  DeleteCriticalSection(&m_lock);
}

int CDeviceObserver::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = AM_KSCATEGORY_CAPTURE;
  HMODULE user32 = GetModuleHandleA("user32.dll");
  m_register = reinterpret_cast<RegisterFunction>(GetProcAddress(user32, "RegisterDeviceNotificationA"));
  m_unregister = reinterpret_cast<UnregisterFunction>(GetProcAddress(user32, "UnregisterDeviceNotification"));
  if (m_register) m_notification = m_register(m_hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  return 0;
}

void CDeviceObserver::OnClose() {
  Unregister();
  CFrameWnd::OnClose();
}

void CDeviceObserver::Unregister() {
  if (m_notification && m_unregister) m_unregister(m_notification);
  m_notification = nullptr;
}

BOOL CDeviceObserver::OnDeviceChange(UINT nEventType, DWORD_PTR dwData) {
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(dwData);
  if (IsCaptureNotice(nEventType, header)) {
    Keep(nEventType, *reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(header));
    const CString path = GetLastDevicePath();
    if (CDeviceList* devices = CDeviceList::Instance())
      devices->OnNotify(CDeviceList::kDeviceChangeEvent, reinterpret_cast<WPARAM>(static_cast<LPCSTR>(path)),
                        static_cast<LPARAM>(nEventType));
  }
  return CFrameWnd::OnDeviceChange(nEventType, dwData);
}

void CDeviceObserver::Keep(UINT event, const DEV_BROADCAST_DEVICEINTERFACE_A& record) {
  // At least a whole record, and a terminator after the name whatever the sender wrote.
  const std::size_t size = record.dbcc_size;
  auto* copy = static_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(std::calloc(1, std::max(size, sizeof(record)) + 1));
  if (!copy) return;
  std::memcpy(copy, &record, size);
  EnterCriticalSection(&m_lock);
  std::free(m_lastRecord);
  m_lastRecord = copy;
  m_lastEvent = event;
  LeaveCriticalSection(&m_lock);
}

UINT CDeviceObserver::GetLastEvent() {
  EnterCriticalSection(&m_lock);
  UINT event = m_lastEvent;
  LeaveCriticalSection(&m_lock);
  return event;
}

CString CDeviceObserver::GetLastDevicePath() {
  EnterCriticalSection(&m_lock);
  CString path = m_lastRecord ? CString(m_lastRecord->dbcc_name) : CString();
  LeaveCriticalSection(&m_lock);
  return path;
}
