#include "core/CNameList.h"

#include "graphs/DeviceEnumeration.h"

#include <new>

namespace {
CNameList* g_pNameList = nullptr;
}  // namespace

CNameList* CNameList::GetInstance() {
  if (!g_pNameList) g_pNameList = new (std::nothrow) CNameList;
  return g_pNameList;
}

void CNameList::DestroyInstance() {
  delete g_pNameList;
  g_pNameList = nullptr;
}

CNameList::CNameList() { EnumAudioDevices(m_entries); }
