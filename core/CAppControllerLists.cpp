// The settings' name lists: countries from the frequency-table library, the Composite and
// S-Video standards, the capture and audio devices.
#include "core/CAppController.h"

#include "core/CDeviceList.h"
#include "core/CNameList.h"
#include "core/VideoStandardNames.h"
#include "core/data/CAppSettings.h"

#include <win32/module.h>

namespace {

using GetCountryNameFn = const char* (*)(int);
using GetCountryNameFromCodeFn = const char* (*)(int);
using GetCountryNumberFn = int (*)();

void CopyNames(const CDeviceEntryList& entries, CStringArray& names) {
  names.RemoveAll();
  for (POSITION position = entries.GetHeadPosition(); position;) names.Add(entries.GetNext(position).GetFriendlyName());
}

}  // namespace

int CAppController::LoadCountryNames(int country) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings) return 0;
  settings->CountryNames.RemoveAll();
  HMODULE library = LoadLibraryA("Chanloret.dll");
  if (!library) return 0;
  auto getName = reinterpret_cast<GetCountryNameFn>(GetProcAddress(library, "GetCountryName"));
  auto getNameFromCode = reinterpret_cast<GetCountryNameFromCodeFn>(GetProcAddress(library, "GetCountryNameFromCode"));
  auto getNumber = reinterpret_cast<GetCountryNumberFn>(GetProcAddress(library, "GetCountryNumber"));
  if (!getName || !getNameFromCode || !getNumber) {
    FreeLibrary(library);
    return 0;
  }
  for (int i = 0; i < getNumber(); ++i) {
    const char* name = getName(i);
    if (name && *name) settings->CountryNames.Add(name);
  }
  m_countryIndex = 0;
  const char* selected = getNameFromCode(country);
  for (int i = 0; selected && i < settings->CountryNames.GetSize(); ++i) {
    if (settings->CountryNames.GetAt(i) == selected) {
      m_countryIndex = i;
      break;
    }
  }
  FreeLibrary(library);
  return 1;
}

int CAppController::FillAvStandardNames(int index) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings || index < 0) return 0;
  settings->AvStandardNames.RemoveAll();
  for (const char* name : VideoStandardNames::AvInput) settings->AvStandardNames.Add(name);
  m_avStandardIndex = index;
  return 1;
}

void CAppController::FillDeviceNames() {
  CDeviceList* devices = CDeviceList::GetInstance();
  if (!g_pAppSettings || !devices) return;
  CopyNames(devices->GetEntries(), g_pAppSettings->CaptureDeviceNames);
}

// The list is made anew; the controller keeps hearing of device changes from the new one.
void CAppController::RefreshDeviceNames() {
  if (CDeviceList* old = CDeviceList::Instance()) old->Detach(this);
  CDeviceList::Release();
  if (CDeviceList* devices = CDeviceList::GetInstance()) devices->Attach(this);
  FillDeviceNames();
}

void CAppController::FillNameList() {
  CNameList* names = CNameList::GetInstance();
  if (!g_pAppSettings || !names) return;
  CopyNames(names->GetEntries(), g_pAppSettings->AudioDeviceNames);
}
