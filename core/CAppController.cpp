// The controller's start-up and shut-down, device control and scan hooks.
#include "core/CAppController.h"

#include "core/CDeviceList.h"
#include "core/CNameList.h"
#include "core/CRunState.h"
#include "core/CScheduleList.h"
#include "core/CVolumeMixer.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "graphs/CCaptureGraph.h"
#include "graphs/CPlaybackGraph.h"

#include <mfc/afxwin.h>
#include <vendor/qxmdll/QXUSBControl.h>
#include <win32/file.h>
#include <win32/time.h>
#include <win32/user.h>

#include <cstring>
#include <new>

CAppController* g_pAppController = nullptr;

namespace {

constexpr char kSettingsFile[] = "ZRQData.dat";
constexpr char kScheduleFile[] = "schedulefile.she";
constexpr char kChannelFile[] = "ZRQChannels.chl";
constexpr char kCaptureDevice[] = "USB TV Device";
constexpr char kDeviceControlFilter[] = "Talvik Device Control Filter";
constexpr WORD kModeRegister = 0xC16F;
constexpr DWORD kDeviceSettleMs = 100;

template <class T>
void Destroy(T*& object) {
  delete object;
  object = nullptr;
}

}  // namespace

CAppController::CAppController() {
  if (CDeviceList* devices = CDeviceList::GetInstance()) devices->Attach(this);
}

CAppController::~CAppController() { Shutdown(); }

int CAppController::Startup() {
  int loadedCountry = 0;
  if (!g_pAppSettings) {
    if (!CreateSettings(loadedCountry)) return 0;
  } else {
    loadedCountry = g_pAppSettings->CountryCode;
  }
  if (!m_pRunState) {
    m_pRunState = new (std::nothrow) CRunState;
    if (!m_pRunState) return 0;
  }
  if (!m_pScheduleList) CreateScheduleList();
  if (!g_pChannelList && !CreateChannelList(loadedCountry)) return 0;
  if (!g_pTunedChannelRecord) {
    g_pTunedChannelRecord = new (std::nothrow) ChannelRecord{};
    if (!g_pTunedChannelRecord) return 0;
  }
  if (m_pVolumeMixer) return 1;
  m_pVolumeMixer = new (std::nothrow) CVolumeMixer;
  if (!m_pVolumeMixer) return 0;
  InitVolumeScale();
  if (g_pAppSettings) ApplyVolume(g_pAppSettings->Volume);
  return 1;
}

// The settings object and its file, the country and the name lists.
int CAppController::CreateSettings(int& loadedCountry) {
  g_pAppSettings = new (std::nothrow) CAppSettings;
  if (!g_pAppSettings) return 0;
  CAppSettings& settings = *g_pAppSettings;
  settings.ProgramFolder = GetModuleFolder();
  CString path = settings.ProgramFolder + kSettingsFile;
  if (!LoadSettings(path)) {
    WriteDefaultSettings(path);
    if (!LoadSettings(path)) return 0;
  }

  loadedCountry = settings.CountryCode;
  // A region that names no country leaves the stored one, and so the channel file, alone.
  if (settings.FollowRegionCountry) {
    int region = GetRegionCountry();
    if (region != 0) settings.CountryCode = region;
  }
  LoadCountryNames(settings.CountryCode);
  if (!FillAvStandardNames(settings.AvInputStandard)) return 0;
  FillNameList();
  FillDeviceNames();
  return CheckCaptureDevice();
}

// A stored capture device that is not the TV stick needs some capture device present;
// the TV stick, when listed, is then taken instead.
int CAppController::CheckCaptureDevice() {
  CAppSettings& settings = *g_pAppSettings;
  if (std::strstr(settings.CaptureDeviceName, kCaptureDevice)) return 1;
  const CStringArray& devices = settings.CaptureDeviceNames;
  if (devices.GetSize() == 0) return 0;
  for (int i = devices.GetUpperBound(); i >= 0; --i) {
    if (devices.GetAt(i) == kCaptureDevice) {
      std::strcpy(settings.CaptureDeviceName, kCaptureDevice);
      break;
    }
  }
  return 1;
}

// Without a schedule list start-up goes on; the schedule tick then finds nothing to do.
void CAppController::CreateScheduleList() {
  m_pScheduleList = new (std::nothrow) CScheduleList;
  if (!m_pScheduleList) return;
  m_pScheduleList->Load(GetModuleFolder() + kScheduleFile);
  // The tick runs on the main window; without one there is nothing to run it on.
  HWND main = MainWindow();
  if (!main) return;
  if (m_scheduleTimer != kNoTimer) KillTimer(m_hScheduleTimerWnd, m_scheduleTimer);
  m_scheduleTimer = SetTimer(main, kScheduleTimer, kScheduleTimerMs, nullptr);
  m_hScheduleTimerWnd = m_scheduleTimer ? main : nullptr;
  if (!m_scheduleTimer) m_scheduleTimer = kNoTimer;
}

// The channel list from "ZRQChannels.chl": rebuilt from the country's plans when the
// country changed at start-up, or when the file cannot be loaded.
int CAppController::CreateChannelList(int loadedCountry) {
  g_pChannelList = new (std::nothrow) CChannelList(this);
  if (!g_pChannelList) return 0;
  CString path = GetModuleFolder() + kChannelFile;
  if (g_pAppSettings && g_pAppSettings->CountryCode != loadedCountry) g_pChannelList->BuildDefaultListFile(path);
  if (g_pChannelList->LoadFile(path)) return 1;
  return g_pChannelList->BuildDefaultListFile(path) && g_pChannelList->LoadFile(path) ? 1 : 0;
}

// A failed save is reported in the result, but never stops the release: nothing may stay
// running or held under a controller that is going away.
int CAppController::Shutdown() {
  WaitForScanWorkers();
  int saved = SaveFiles();
  if (g_pDeviceControl) g_pDeviceControl->SetRegData(kModeRegister, 0);
  if (CDeviceList* devices = CDeviceList::Instance()) devices->Detach(this);
  ListRecordingAtShutdown();
  ReleaseObjects();
  KillTimers();
  Destroy(g_pTunedChannelRecord);
  Destroy(g_pPreviousChannelRecord);
  Destroy(g_pCurrentChannelRecord);
  return saved;
}

// The settings and the channel list. A file that could not be saved and is not on disk is
// written with its defaults, so the next start finds one; a file on disk is never
// replaced by defaults. 0 when something could not be saved.
int CAppController::SaveFiles() {
  int saved = 1;
  CString folder = GetModuleFolder();
  if (g_pAppSettings) {
    CString path = folder + kSettingsFile;
    if (!SaveSettings(path)) {
      saved = 0;
      if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) WriteDefaultSettings(path);
    }
  }
  if (g_pChannelList) {
    // A country the user stepped to gets its own channels, not the old country's.
    if (m_countryChanged) g_pChannelList->BuildDefaultLists();
    CString path = folder + kChannelFile;
    if (!g_pChannelList->SaveFile(path)) {
      saved = 0;
      if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) g_pChannelList->BuildDefaultListFile(path);
    }
  }
  return saved;
}

void CAppController::ReleaseObjects() {
  DestroyCaptureGraph();
  Destroy(m_pPlaybackGraph);
  Destroy(m_pVolumeMixer);
  Destroy(g_pAppSettings);
  Destroy(g_pChannelList);
  Destroy(m_pRunState);
  Destroy(m_pScheduleList);
  CNameList::DestroyInstance();
  CDeviceList::Release();
  if (g_pDeviceControl) {
    g_pDeviceControl->CloseControlInterface();
    Destroy(g_pDeviceControl);
  }
}

void CAppController::KillTimers() {
  StopOsdTimer();
  KillSecondTimer();
  KillMediaTimer();
  if (m_diskCheckTimer != kNoTimer) KillTimer(MainWindow(), m_diskCheckTimer);
  m_diskCheckTimer = kNoTimer;
  if (m_scheduleTimer != kNoTimer) KillTimer(m_hScheduleTimerWnd, m_scheduleTimer);
  m_scheduleTimer = kNoTimer;
  m_hScheduleTimerWnd = nullptr;
}

HWND CAppController::MainWindow() {
  CWnd* main = AfxGetMainWnd();
  return main ? main->GetSafeHwnd() : nullptr;
}

int CAppController::OnNotify(int event, WPARAM wParam, LPARAM lParam) {
  // A subject going away must be forgotten, or detaching later touches freed memory.
  if (event == 0) return CObserver::OnNotify(event, wParam, lParam);
  if (event != CDeviceList::kDeviceChangeEvent || !DeviceChanged) return 1;
  Sleep(kDeviceSettleMs);
  FillDeviceNames();
  PostMessageA(MainWindow(), UM_DEVICES_CHANGED, 1, 0);
  return 1;
}

void CAppController::OpenDeviceControl() {
  if (g_pDeviceControl) {
    g_pDeviceControl->CloseControlInterface();
  } else {
    g_pDeviceControl = new (std::nothrow) CQXUSB_Control;
    if (!g_pDeviceControl) return;
  }
  if (!g_pDeviceControl->OpenControlInterface(kDeviceControlFilter)) {
    g_pDeviceControl->CloseControlInterface();
    Destroy(g_pDeviceControl);
    return;
  }
  g_pDeviceControl->SetRegData(kModeRegister, 0);
}

void CAppController::SetScanTargetWnd(HWND hwnd) {
  if (hwnd && IsWindow(hwnd)) m_hScanTargetWnd = hwnd;
}

HWND CAppController::GetScanTargetWnd() const { return IsWindow(m_hScanTargetWnd) ? m_hScanTargetWnd : nullptr; }

int CAppController::IsScanning() { return ScanRunning; }

void CAppController::StopScan() {
  if (m_pRunState && m_pRunState->GetState() == CRunState::kChannelScan && ScanRunning) ScanRunning = 0;
}

void CAppController::SetStatusText(LPCSTR text) {
  if (text && *text) m_statusText = text;
}

int CAppController::GetRunState() const { return m_pRunState ? m_pRunState->GetState() : 0; }

int CAppController::IsIdle() const { return m_pRunState && m_pRunState->IsIdle(); }

int CAppController::IsMediaMode() const { return m_pRunState && m_pRunState->IsState1(); }

int CAppController::IsTvMode() const { return m_pRunState && m_pRunState->IsState2(); }

int CAppController::IsRecording() const {
  return m_pRunState && (m_pRunState->IsState3() || m_pRunState->IsState12() || m_pRunState->IsState14());
}

int CAppController::IsPreviewing() const {
  return m_pRunState && (m_pRunState->IsState2() || m_pRunState->IsState11() || m_pRunState->IsState13());
}

int CAppController::IsMosaicMode() const { return m_pRunState && m_pRunState->IsState7(); }

int CAppController::IsScanState() const { return m_pRunState && m_pRunState->IsState6(); }

void CAppController::EnterMediaMode() {
  if (m_pRunState) m_pRunState->SetState(1);
}

void CAppController::SetIdle() {
  if (m_pRunState) m_pRunState->SetState(CRunState::kIdle);
}
