#include "core/CDeviceList.h"

#include "core/DeviceEnumeration.h"

#include <new>

int DeviceChanged = 0;

namespace {
CDeviceList* g_pDeviceList = nullptr;
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

CDeviceList::CDeviceList() { Refresh(); }

void CDeviceList::Refresh() {
  m_entries.RemoveAll();
  EnumVideoDevices(m_entries);
}
