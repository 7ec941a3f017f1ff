#include "core/CDeviceList.h"

#include "core/CDeviceObserver.h"
#include "graphs/DeviceEnumeration.h"

#include <win32/time.h>
#include <win32/user.h>

#include <new>

int DeviceChanged = 0;

namespace {

CDeviceList* g_pDeviceList = nullptr;

constexpr DWORD kSettleMs = 100;  // lets the enumerator catch up with the notice
constexpr char kMonikerPrefix[] = "@device:pnp:";

// A device path without the prefix a capture device's moniker puts before it.
CString InterfacePath(const CString& path) {
  const int prefix = static_cast<int>(sizeof(kMonikerPrefix) - 1);
  return path.Left(prefix).CompareNoCase(kMonikerPrefix) == 0 ? path.Mid(prefix) : path;
}

// Device paths name the same device when they agree, case aside, without the moniker's prefix.
bool SamePath(const CString& a, LPCSTR b) { return InterfacePath(a).CompareNoCase(InterfacePath(CString(b))) == 0; }

}  // namespace

CDeviceList* CDeviceList::GetInstance() {
  if (!g_pDeviceList) g_pDeviceList = new (std::nothrow) CDeviceList;
  return g_pDeviceList;
}

CDeviceList* CDeviceList::Instance() { return g_pDeviceList; }

void CDeviceList::Release() {
  delete g_pDeviceList;
  g_pDeviceList = nullptr;
}

CDeviceList::CDeviceList() {
  CreateWatcher();
  Refresh();
}

CDeviceList::~CDeviceList() {
  // Closing, not just destroying, the watcher ends its registration; it deletes itself.
  // Its window may have gone already (the thread's windows destroyed first).
  if (IsWindow(m_hWatcher)) SendMessageA(m_hWatcher, WM_CLOSE, 0, 0);
  m_entries.RemoveAll();
}

void CDeviceList::CreateWatcher() {
  CRuntimeClass* watcherClass = CRuntimeClass::FromName("CDeviceObserver");
  CObject* object = watcherClass ? watcherClass->CreateObject() : nullptr;
  m_pWatcher = dynamic_cast<CDeviceObserver*>(object);
  if (!m_pWatcher) {
    delete object;
    return;
  }
  // A frame whose window fails to come deletes itself as its window goes, so a failed
  // watcher is only forgotten.
  if (!m_pWatcher->Create(nullptr, "Devices", WS_POPUP | WS_BORDER | WS_SYSMENU, CRect(0, 0, 2, 2), nullptr, nullptr))
    m_pWatcher = nullptr;
  else
    m_hWatcher = m_pWatcher->m_hWnd;
}

void CDeviceList::Refresh() {
  m_entries.RemoveAll();
  EnumVideoDevices(m_entries);
}

POSITION CDeviceList::Find(LPCSTR path) const {
  if (!path) return nullptr;
  for (POSITION position = m_entries.GetHeadPosition(); position;) {
    POSITION current = position;
    if (SamePath(m_entries.GetNext(position).GetDevicePath(), path)) return current;
  }
  return nullptr;
}

int CDeviceList::RemoveDevice(LPCSTR path) {
  POSITION position = Find(path);
  if (!position) return 0;
  m_entries.RemoveAt(position);
  return 1;
}

int CDeviceList::OnNotify(int event, WPARAM wParam, LPARAM lParam) {
  // A subject going away must be forgotten, or detaching later touches freed memory.
  if (event == 0) return CObserver::OnNotify(event, wParam, lParam);
  if (event == kDeviceChangeEvent) {
    Sleep(kSettleMs);
    if (!OnDeviceChange(reinterpret_cast<LPCSTR>(wParam), lParam)) return 1;
    DeviceChanged = 1;
  }
  Notify(event, wParam, lParam);
  return 1;
}

bool CDeviceList::OnDeviceChange(LPCSTR path, LPARAM notice) {
  if (notice != DBT_DEVICEARRIVAL) return RemoveDevice(path) != 0;
  // An arrival removes nothing; the new device is found by listing the devices again.
  if (Find(path)) return false;
  Refresh();
  return Find(path) != nullptr;
}
