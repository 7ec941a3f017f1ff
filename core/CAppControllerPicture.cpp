// The picture controls, the country and the tuner source as the setup windows change
// them, and the settings the windows read back.
#include "core/CAppController.h"

#include "core/CRunState.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "core/data/TunerProgramming.h"
#include "graphs/CCaptureGraph.h"

#include <dshow/dshow.h>
#include <vendor/chanloret/Chanloret.h>
#include <vendor/language/Language.h>

namespace {

constexpr int kPictureScale = 100;

int Setting(const int CAppSettings::*field) { return g_pAppSettings ? g_pAppSettings->*field : -1; }

}  // namespace

// ---- Picture controls

void CAppController::SetPictureValue(int& field, int value, long property) {
  field = value;
  if (m_pCaptureGraph) m_pCaptureGraph->SetProcAmpProperty(value, property, kPictureScale);
}

void CAppController::SetBrightness(int value) {
  if (g_pAppSettings) SetPictureValue(g_pAppSettings->Brightness, value, VideoProcAmp_Brightness);
}

void CAppController::SetContrast(int value) {
  if (g_pAppSettings) SetPictureValue(g_pAppSettings->Contrast, value, VideoProcAmp_Contrast);
}

void CAppController::SetHue(int value) {
  if (g_pAppSettings) SetPictureValue(g_pAppSettings->Hue, value, VideoProcAmp_Hue);
}

void CAppController::SetSaturation(int value) {
  if (g_pAppSettings) SetPictureValue(g_pAppSettings->Saturation, value, VideoProcAmp_Saturation);
}

void CAppController::SetSharpness(int value) {
  if (g_pAppSettings) SetPictureValue(g_pAppSettings->Sharpness, value, VideoProcAmp_Sharpness);
}

void CAppController::SetPictureAll(int sharpness, int contrast, int brightness, int hue, int saturation) {
  if (!g_pAppSettings || !m_pCaptureGraph || !IsPreviewing()) return;
  CAppSettings& settings = *g_pAppSettings;
  settings.Sharpness = sharpness;
  settings.Contrast = contrast;
  settings.Brightness = brightness;
  settings.Hue = hue;
  settings.Saturation = saturation;
  ApplyPicture();
}

void CAppController::ApplyPicture() {
  const CAppSettings& settings = *g_pAppSettings;
  if (m_pCaptureGraph)
    m_pCaptureGraph->SetVideoProcAmp(settings.Sharpness, settings.Contrast, settings.Brightness, settings.Hue,
                                     settings.Saturation);
}

int CAppController::GetBrightness() { return Setting(&CAppSettings::Brightness); }
int CAppController::GetContrast() { return Setting(&CAppSettings::Contrast); }
int CAppController::GetHue() { return Setting(&CAppSettings::Hue); }
int CAppController::GetSaturation() { return Setting(&CAppSettings::Saturation); }
int CAppController::GetSharpness() { return Setting(&CAppSettings::Sharpness); }

// ---- Settings accessors

// A stored code whose country is not selected in the list is no country the windows can show.
int CAppController::GetCountryCode() const { return CountrySelected() ? g_pAppSettings->CountryCode : -1; }

int CAppController::GetVolume() { return Setting(&CAppSettings::Volume); }

LPCSTR CAppController::GetCurrentDeviceName() {
  if (!g_pAppSettings || g_pAppSettings->CaptureDeviceNames.GetSize() == 0) return nullptr;
  return g_pAppSettings->CaptureDeviceName;
}

LPCSTR CAppController::GetMixerLineName() { return g_pAppSettings ? g_pAppSettings->AudioDeviceName : nullptr; }

int CAppController::GetNameArray2Count() { return g_pAppSettings ? g_pAppSettings->AudioDeviceNames.GetSize() : 0; }

int CAppController::GetNameArray3Count() { return g_pAppSettings ? g_pAppSettings->AudioLineNames.GetSize() : 0; }

// The stored standard, which the live graph also sets when it detects the signal's own.
LPCSTR CAppController::GetAvStandardName() const {
  if (!m_pCaptureGraph || !g_pAppSettings) return nullptr;
  const CStringArray& names = g_pAppSettings->AvStandardNames;
  const int index = g_pAppSettings->AvInputStandard;
  if (index < 0 || index >= names.GetSize()) return nullptr;
  return names.GetAt(index);
}

// ---- Country

bool CAppController::CountrySelected() const {
  return g_pAppSettings && m_countryIndex >= 0 && m_countryIndex < g_pAppSettings->CountryNames.GetSize();
}

LPCSTR CAppController::GetSelectedCountryName() const {
  return CountrySelected() ? static_cast<LPCSTR>(g_pAppSettings->CountryNames.GetAt(m_countryIndex)) : nullptr;
}

int CAppController::CopyCountryNames(CStringArray& names) const {
  if (!g_pAppSettings || g_pAppSettings->CountryNames.GetSize() == 0) return 0;
  names.RemoveAll();
  for (int i = 0; i < g_pAppSettings->CountryNames.GetSize(); ++i) names.Add(g_pAppSettings->CountryNames.GetAt(i));
  return 1;
}

int CAppController::SelectCountryByCode(int code) {
  m_countryIndex = -1;
  const char* name = GetCountryNameFromCode(code);
  for (int i = 0; name && g_pAppSettings && i < g_pAppSettings->CountryNames.GetSize(); ++i) {
    if (g_pAppSettings->CountryNames.GetAt(i) == name) {
      m_countryIndex = i;
      break;
    }
  }
  return m_countryIndex;
}

void CAppController::StepCountry(int backward, CString& name, int& code) {
  if (!IsPreviewing() || !g_pAppSettings) return;
  CAppSettings& settings = *g_pAppSettings;
  const int count = settings.CountryNames.GetSize();
  if (count == 0) return;
  m_countryIndex = (m_countryIndex + (backward ? count - 1 : 1)) % count;
  name = settings.CountryNames.GetAt(m_countryIndex);
  code = ::GetCountryCode(name);
  settings.CountryCode = code;
  if (g_pChannelList && (settings.LineStandard == 3 || settings.LineStandard == 4)) {
    const int family = GetCurrentCountryStandardCode();
    if (family == 3 || family == 4) {
      settings.LineStandard = family;
      if (m_pCaptureGraph) m_pCaptureGraph->SetInputType(family);
    }
  }
  m_countryChanged = 1;
}

int CAppController::SetCountryFromList(int country) {
  if (!m_pCaptureGraph || !IsPreviewing() || !g_pAppSettings) return 0;
  return ChangeCountry(country);
}

int CAppController::SetCountryFromRegion() {
  if (!m_pCaptureGraph || !IsPreviewing() || !g_pAppSettings || !g_pAppSettings->FollowRegionCountry) return 0;
  return ChangeCountry(GetRegionCountry());
}

// A new country: its names, standard and line family, and the lists of its plans with
// their first channel tuned (on the tuner) or made current (on an external input).
int CAppController::ChangeCountry(int country) {
  CAppSettings& settings = *g_pAppSettings;
  if (country == settings.CountryCode) return 0;
  settings.CountryCode = country;
  LoadCountryNames(country);
  const int state = GetRunState();
  if (state == 11 || state == 13) {
    if (g_pChannelList) g_pChannelList->BuildDefaultLists();
    // On an external input the tuner source names the list the tuner comes back to.
    const int list = settings.TunerSource == 2 ? 2 : 1;
    if (g_pChannelList) {
      const int first = g_pChannelList->GetFirstChannelNumber(list);
      g_pChannelList->SetCurrentChannel(first, list);
      if (g_pTunedChannelRecord) g_pChannelList->GetChannel(first, list, g_pTunedChannelRecord);
      if (g_pCurrentChannelRecord) g_pChannelList->GetChannel(first, list, g_pCurrentChannelRecord);
    }
    settings.LineStandard = GetCurrentCountryStandardCode();
    return 1;
  }
  char standard[kStandardNameSize] = {};
  GetCountryStandardName(country, standard, sizeof standard);
  if (standard[0]) {
    m_pCaptureGraph->SetVideoStandard(standard);
    ApplyPicture();
    const int before = settings.LineStandard;
    settings.LineStandard = GetCurrentCountryStandardCode();
    if (settings.LineStandard != before && (settings.LineStandard == 3 || settings.LineStandard == 4))
      m_pCaptureGraph->SetSize(720, settings.LineStandard == 3 ? 576 : 480);
  }
  if (!g_pChannelList) return 1;
  g_pChannelList->BuildDefaultLists();
  const int list = GetActiveChannelListIndex();
  if (list > 0) {
    SetAudioOn(0);
    g_pChannelList->TuneNumber(g_pChannelList->GetFirstChannelNumber(list), list);
    SetAudioOn(1);
  }
  return 1;
}

int CAppController::GetFollowRegionCountry() { return g_pAppSettings ? g_pAppSettings->FollowRegionCountry : 0; }

void CAppController::ToggleFollowRegionCountry() {
  if (g_pAppSettings) g_pAppSettings->FollowRegionCountry = !g_pAppSettings->FollowRegionCountry;
}

CString CAppController::GetTunerSourceText() {
  if (!g_pAppSettings) return CString();
  if (g_pAppSettings->TunerSource == 1) return GetComBoxItem(0);
  g_pAppSettings->TunerSource = 2;
  return GetComBoxItem(1);
}

void CAppController::ToggleTunerSource(CString& text) {
  if (!g_pAppSettings) return;
  const int source = g_pAppSettings->TunerSource == 2 ? 1 : 2;
  g_pAppSettings->TunerSource = g_pAppSettings->VideoInput = source;
  text = GetComBoxItem(source - 1);
}
