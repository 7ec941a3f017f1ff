// Recording and scheduled runs: the live preview replaced by a record graph and back, the
// free space of the record folder's drive, the schedule's due items run from the main
// window's timers, the end of a run with its after-recording action, and what a lost
// capture device leaves behind.
#include "core/CAppController.h"

#include "core/CRunState.h"
#include "core/CScheduleList.h"
#include "core/MediaListFile.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "graphs/CRecordGraph.h"

#include <mfc/afxwin.h>
#include <win32/module.h>
#include <win32/time.h>
#include <win32/user.h>

#include <cstring>
#include <new>

namespace {

constexpr char kScheduleFile[] = "schedulefile.she";
constexpr char kTvWindowTitle[] = "Orvane Media_TVDlg";
constexpr char kDefaultVideoFolder[] = "Videos\\";
constexpr UINT_PTR kDigitTimer = 200;
constexpr UINT_PTR kDigitTimerFull = 250;
constexpr int kDaySeconds = 86400;
constexpr int kOnce = 8;
constexpr int kModeRecord = 1;
constexpr DWORD kGraphSettleMs = 300;

// The run state of a recording from the previewed input; 0 when not previewing.
int RecordingStateFor(int previewState) {
  switch (previewState) {
    case 2: return 3;
    case 11: return 12;
    case 13: return 14;
    default: return 0;
  }
}

using DiskFreeSpaceEx = BOOL (*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

}  // namespace

// ---- The schedule's due items

void CAppController::ScheduleFileChanged() {
  if (m_pScheduleList) m_pScheduleList->Load(GetModuleFolder() + kScheduleFile);
}

int CAppController::NotifyScheduleWake() {
  if (!IsIdle() || !m_pScheduleList || !m_pScheduleList->FindItemStartingSoon()) return 0;
  SendMessageA(MainWindow(), UM_OPEN_TV_WINDOW, 0, 0);
  return 1;
}

void CAppController::OnScheduleTick() {
  if (!m_pScheduleList || !m_pRunState) return;
  if (NotifyScheduleWake()) return;
  const CScheduleItem* found = m_pScheduleList->FindDueItem();
  if (!found) return;
  // The item is already running or has run in this due window.
  if (m_pLastStartedItem && CScheduleList::ItemsConflict(found, m_pLastStartedItem.get())) return;
  // A copy: the list's items may go below.
  const CScheduleItem due(*found);
  m_pScheduleList->RemoveExpiredOnceItems();
  CScheduleList::NotifyChanged(-1, 0);

  if (IsBusyForSchedule()) {
    m_pScheduleList->ResetElapsed();
    m_pScheduleList->ResetRunFlags();
    if (due.recurrence == kOnce) {
      DropDueItem(due, 1);
    } else {
      CScheduleList::NotifyChanged(-1, 0);
    }
  }
  if (m_planWindowOpen || (!IsIdle() && !IsPreviewing())) return;
  RunDueItem(due);
}

void CAppController::RunDueItem(const CScheduleItem& due) {
  m_pScheduleList->ResetElapsed();
  if (IsIdle()) SendMessageA(MainWindow(), UM_OPEN_TV_WINDOW, 0, 0);
  SaveRunState();
  CScheduleItem& current = m_pScheduleList->CurrentItem();
  CScheduleList::CopyItem(&current, &due);
  const bool record = due.mode == kModeRecord;
  if (record) {
    m_pScheduleList->SetRunPhase(CScheduleList::kPhaseScheduledRecording);
    if (!CheckDiskSpace(&current, 0)) {
      if (due.recurrence == kOnce) m_pScheduleList->Remove(&due);
      m_pScheduleList->SetRunPhase(CScheduleList::kPhaseNone);
      return;
    }
  }
  SwitchToItemSource(due);
  m_pScheduleList->ViewRun() = record ? 0 : 1;
  m_pScheduleList->RecordRun() = record ? 1 : 0;
  if (!StartItem(due)) {
    if (due.recurrence == kOnce) m_pScheduleList->Remove(&due);
    return;
  }
  StartSecondTimer();
  if (due.recurrence == kOnce) {
    m_pScheduleList->Remove(&due);
    return;
  }
  if (!m_pLastStartedItem) m_pLastStartedItem = std::make_unique<CScheduleItem>();
  CScheduleList::CopyItem(m_pLastStartedItem.get(), &due);
}

// A recording starts; a view tunes its channel. False when the recording does not start.
bool CAppController::StartItem(const CScheduleItem& item) {
  if (item.mode == kModeRecord) return StartRecording();
  if (g_pChannelList && (item.source == 0 || item.source == 1))
    TuneAndShow(item.source == 0 ? item.channel1 : item.channel2, item.source + 1);
  return true;
}

// Recording, channel scan, channel wall, number entry or the record plan window.
bool CAppController::IsBusyForSchedule() const {
  switch (GetRunState()) {
    case 3: case 12: case 14: case 6: case 8: case 9: case 7: return true;
    default: return m_planWindowOpen != 0;
  }
}

// The plan window learns the index the item had.
void CAppController::DropDueItem(const CScheduleItem& item, int tellPlanWindow) {
  const int index = m_pScheduleList->FindIndex(&item);
  m_pScheduleList->Remove(&item);
  CScheduleList::NotifyChanged(index, tellPlanWindow);
}

void CAppController::SaveRunState() {
  CScheduleList::SavedState& saved = m_pScheduleList->Saved();
  saved.channelList = GetActiveChannelListIndex() == 1 ? 1 : 2;
  saved.runState = GetRunState();
  saved.channel = g_pChannelList ? g_pChannelList->GetCurrentChannel(saved.channelList) : 0;
  saved.subState = m_pRunState->GetSubState();
}

void CAppController::SwitchToItemSource(const CScheduleItem& item) {
  switch (item.source) {
    case 0: SwitchToSubState(16, item.channel1, 1); break;
    case 1: SwitchToSubState(17, item.channel2, 1); break;
    case 2: SwitchToSubState(18, 0, 0); break;
    default: break;
  }
}

void CAppController::StartSecondTimer() {
  KillSecondTimer();
  const UINT_PTR id = SetTimer(MainWindow(), kScheduleSecondTimer, kScheduleSecondTimerMs, nullptr);
  m_scheduleSecondTimer = id ? id : kNoTimer;
}

void CAppController::KillSecondTimer() {
  if (m_scheduleSecondTimer == kNoTimer) return;
  KillTimer(MainWindow(), m_scheduleSecondTimer);
  m_scheduleSecondTimer = kNoTimer;
}

void CAppController::OnScheduleSecond() {
  if (!m_pScheduleList) return;
  const int total = m_pScheduleList->CurrentItem().duration % kDaySeconds;
  int& elapsed = m_pScheduleList->Elapsed();
  if (elapsed + 1 <= total) {
    ++elapsed;
    return;
  }
  EndScheduleEntry();
}

// ---- The end of a run

void CAppController::EndScheduleEntry() {
  if (!m_pScheduleList) return;
  KillSecondTimer();
  m_pScheduleList->ResetElapsed();
  m_pScheduleList->ResetRunFlags();
  const CScheduleItem& item = m_pScheduleList->CurrentItem();
  if (item.mode == kModeRecord) StopRecording();
  RestoreSavedInput();
  SaveScheduleFile();
  CScheduleList::NotifyChanged(-1, 0);
  RunAfterAction(item.action);
}

void CAppController::RestoreSavedInput() {
  if (!m_pRunState) return;
  const CScheduleList::SavedState& saved = m_pScheduleList->Saved();
  switch (saved.runState) {
    case 2:
      m_pRunState->SetState(2);
      if (g_pAppSettings && (saved.subState == 16 || saved.subState == 17))
        g_pAppSettings->VideoInput = saved.subState - 15;
      SwitchToSubState(saved.subState, saved.channel, 1);
      break;
    case 11:
      m_pRunState->SetState(11);
      SwitchToSubState(18, 0, 0);
      break;
    case 13:
      m_pRunState->SetState(13);
      SwitchToSubState(19, 0, 0);
      break;
    default: break;
  }
}

void CAppController::AbortScheduleEntry() {
  if (!m_pScheduleList || !m_pRunState) return;
  KillSecondTimer();
  m_pScheduleList->ResetElapsed();
  m_pScheduleList->ResetRunFlags();
  const CScheduleList::SavedState& saved = m_pScheduleList->Saved();
  switch (saved.runState) {
    case 2:
      if (saved.subState == 16 || saved.subState == 17) {
        m_pRunState->SetSubState(saved.subState);
        if (g_pAppSettings) g_pAppSettings->VideoInput = saved.subState - 15;
      }
      m_pRunState->SetState(2);
      break;
    case 11:
      m_pRunState->SetSubState(18);
      m_pRunState->SetState(11);
      break;
    case 13:
      m_pRunState->SetSubState(19);
      m_pRunState->SetState(13);
      break;
    default: break;
  }
  const int state = GetRunState();
  if (state == 2 && g_pChannelList) {
    const int sub = m_pRunState->GetSubState();
    g_pChannelList->SetCurrentChannel(saved.channel, sub == 16 ? 1 : sub == 17 ? 2 : 0);
  }
  if (g_pAppSettings && state == 11) g_pAppSettings->VideoInput = 3;
  if (g_pAppSettings && state == 13) g_pAppSettings->VideoInput = 4;
  SaveScheduleFile();
  RunAfterAction(m_pScheduleList->CurrentItem().action);
}

void CAppController::SaveScheduleFile() { m_pScheduleList->Save(GetModuleFolder() + kScheduleFile); }

void CAppController::RunAfterAction(int action) {
  switch (action) {
    case 1: PostMessageA(MainWindow(), WM_CLOSE, 0, 0); break;
    case 2: CScheduleList::RequestStandby(); break;
    case 3: CScheduleList::RequestShutdown(); break;
    default: break;
  }
}

void CAppController::EndScheduledView() {
  if (m_pScheduleList && m_pScheduleList->ViewRun()) EndScheduleEntry();
}

// ---- Free space

bool CAppController::CheckDiskSpace(const CScheduleItem* item, int arm) {
  if (!m_pScheduleList) return false;
  LPCSTR folder = g_pAppSettings ? g_pAppSettings->VideoFolder : nullptr;
  if (m_pScheduleList->IsScheduledRecording()) {
    if (!item || !m_pCaptureGraph || item->mode != kModeRecord) return false;
    const int free = GetFreeDiskMB(folder);
    const double need = m_pCaptureGraph->GetRecordSizeKB(item->duration % kDaySeconds);
    if (free >= kMinFreeDiskMB && free >= need) return true;
    m_pScheduleList->ResetElapsed();
    m_pScheduleList->ResetRunFlags();
    m_pScheduleList->Remove(item);
    CScheduleList::NotifyChanged(-1, 0);
    return false;
  }
  if (!m_pScheduleList->IsManualRecording() || GetFreeDiskMB(folder) < kMinFreeDiskMB) return false;
  if (arm) {
    const UINT_PTR id = SetTimer(MainWindow(), kDiskCheckTimer, kDiskCheckTimerMs, nullptr);
    m_diskCheckTimer = id ? id : kNoTimer;
  }
  return true;
}

// Looked up at run time, as the oldest Windows versions lack it.
int CAppController::GetFreeDiskMB(LPCSTR folder) {
  if (!folder || std::strlen(folder) < 3) return 0;
  const CString root(folder, 3);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) kernel = LoadLibraryA("kernel32.dll");
  const auto query = reinterpret_cast<DiskFreeSpaceEx>(GetProcAddress(kernel, "GetDiskFreeSpaceExA"));
  ULARGE_INTEGER available{}, total{}, free{};
  if (!query || !query(root, &available, &total, &free)) return 0;
  return static_cast<int>(free.QuadPart >> 20);
}

void CAppController::OnDiskCheckTimer() {
  if (IsRecording() && !CheckDiskSpace(nullptr, 0)) StopRecording();
}

// ---- Recording

void CAppController::RequestManualRecording() {
  if (!m_pScheduleList) return;
  m_pScheduleList->SetRunPhase(CScheduleList::kPhaseManualRecording);
  if (CheckDiskSpace(nullptr, 1)) StartRecordingManual();
}

void CAppController::StartRecordingManual() {
  EndScheduledView();
  if (IsPreviewing()) LeavePreviewForRecording();
  if (!m_pCaptureGraph && !BuildRecordGraph(1)) {
    StopRecording();
    SetAudioOn(1);
    return;
  }
  if (GetRunState() == 3) RetuneSilently();
  SetAudioOn(1);
  DrawStatusOsd(1);
}

bool CAppController::StartRecording() {
  if (!IsPreviewing()) return false;
  LeavePreviewForRecording();
  if (m_pCaptureGraph) return false;
  if (!BuildRecordGraph(0)) {
    EndScheduleEntry();
    return false;
  }
  if (GetRunState() == 3) RetuneSilently();
  DrawStatusOsd(1);
  return true;
}

void CAppController::LeavePreviewForRecording() {
  const int recording = RecordingStateFor(GetRunState());
  DestroyCaptureGraph();
  m_pRunState->SetState(recording);
}

bool CAppController::BuildRecordGraph(int muteAround) {
  m_pCaptureGraph = new (std::nothrow) CRecordGraph;
  if (!m_pCaptureGraph || !g_pAppSettings) return false;
  const CAppSettings& settings = *g_pAppSettings;
  const CString folder = settings.VideoFolder;
  if (!SetRecordTarget(folder, settings.RecordFormat, settings.RecordQuality)) {
    delete m_pCaptureGraph;
    m_pCaptureGraph = nullptr;
    return false;
  }
  if (!StartGraphInWindow()) return false;
  if (muteAround) SetAudioOn(0);
  m_pCaptureGraph->AttachVideoWindow(m_hVideoWindow);
  if (m_pCaptureGraph->Run()) return true;
  DestroyCaptureGraph();
  return false;
}

int CAppController::SetRecordTarget(LPCSTR folder, int format, int quality) {
  if (!m_pCaptureGraph || !g_pAppSettings) return 0;
  CString target = folder ? folder : "";
  if (!FolderExists(target, 0, 0)) {
    target = GetModuleFolder() + kDefaultVideoFolder;
    if (!FolderExists(target, 0, 0) && !CreateFolder(target)) return 0;
    char* stored = g_pAppSettings->VideoFolder;
    std::strncpy(stored, target, sizeof g_pAppSettings->VideoFolder - 1);
    stored[sizeof g_pAppSettings->VideoFolder - 1] = '\0';
  }
  m_pCaptureGraph->SetRecordFile(target, format, quality);
  return 1;
}

void CAppController::StopRecordingRequest() {
  if (!m_pScheduleList) return;
  if (!m_pScheduleList->RecordRun())
    StopRecording();
  else
    EndScheduleEntry();
}

void CAppController::StopRecording() {
  if (!IsRecording()) return;
  if (m_diskCheckTimer != kNoTimer) KillTimer(MainWindow(), m_diskCheckTimer);
  m_diskCheckTimer = kNoTimer;
  const CString file = RecordedFileName();
  AppendRecordedFile(file);
  if (m_pCaptureGraph) {
    m_statusText = file;
    SetAudioOn(0);
    m_pCaptureGraph->Close();
    delete m_pCaptureGraph;
    m_pCaptureGraph = nullptr;
    Sleep(kGraphSettleMs);
  }
  if (!OpenPreview() && !IsIdle()) m_pRunState->SetState(CRunState::kIdle);
  if (m_muted) SetAudioOn(1);
}

void CAppController::GetRecordFileName(CString& text) const {
  const CString name = RecordedFileName();
  if (!name.IsEmpty()) text = name;
}

void CAppController::SetCaptureGraphOption(CString& value) {
  if (m_pCaptureGraph) m_pCaptureGraph->GetRecordFileName(value);
}

CString CAppController::RecordedFileName() const {
  CString name;
  if (m_pCaptureGraph) m_pCaptureGraph->GetRecordFileName(name);
  return name;
}

void CAppController::ListRecordingAtShutdown() {
  if (IsRecording()) AppendRecordedFile(RecordedFileName());
}

void CAppController::AppendRecordedFile(const CString& file) {
  const CString list = GetModuleFolder() + kMediaHistoryFile;
  if (!file.IsEmpty() && !list.IsEmpty()) AppendMediaList(list, file, kMediaListVideo);
}

// ---- Device loss

void CAppController::OnDevicesChanged() {
  if (!m_pRunState || !g_pAppSettings) return;
  if (GetCaptureDeviceCount() == 0) {
    LoseLastDevice();
    return;
  }
  const CStringArray& devices = g_pAppSettings->CaptureDeviceNames;
  for (int i = 0; i < devices.GetSize(); ++i) {
    if (devices.GetAt(i) == g_pAppSettings->CaptureDeviceName) return;
  }
  LoseDeviceInUse();
}

// Nothing is left to show: the program closes, unless the media player holds the screen.
void CAppController::LoseLastDevice() {
  HWND tv = FindWindowA(nullptr, kTvWindowTitle);
  const bool scheduled = m_pScheduleList && m_pScheduleList->RecordRun();
  switch (GetRunState()) {
    case 6: ScanRunning = 0; break;
    case 9: KillTimer(tv, kDigitTimer); break;
    case 10: KillTimer(tv, kDigitTimerFull); break;
    case 1:
      if (m_pCaptureGraph) {
        DestroyCaptureGraph();
        return;
      }
      break;
    default:
      if (!IsRecording()) break;
      // The file is whole; listed, the media player shows it.
      SetStatusText(RecordedFileName());
      AppendRecordedFile(RecordedFileName());
      if (scheduled) AbortScheduleEntry();
      break;
  }
  DestroyCaptureGraph();
  SetIdle();
  PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

// Another device remains: the picture comes back from it.
void CAppController::LoseDeviceInUse() {
  HWND tv = FindWindowA(nullptr, kTvWindowTitle);
  switch (GetRunState()) {
    case 2: case 11: case 13: OpenPreview(); return;
    case 6: ScanRunning = 0; break;
    case 9: KillTimer(tv, kDigitTimer); break;
    case 10: KillTimer(tv, kDigitTimerFull); break;
    case 1:
      if (m_pCaptureGraph) {
        DestroyCaptureGraph();
        m_deviceLost = 1;
      }
      return;
    default:
      if (!IsRecording()) return;
      SetStatusText(RecordedFileName());
      if (!m_pScheduleList || !m_pScheduleList->RecordRun()) {
        StopRecording();
        return;
      }
      AppendRecordedFile(RecordedFileName());
      AbortScheduleEntry();
      OpenPreview();
      return;
  }
  m_pRunState->SetState(2);
  OpenPreview();
}
