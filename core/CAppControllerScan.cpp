// The channel scan: a worker thread steps the tuner through every frequency of the
// country's antenna or cable plan, lets the picture settle, reads the signal bit and
// reports each frequency on air to the channel window as a heap ChannelRecord. The
// channel window builds the list from them and, on UM_SCAN_DONE, brings live TV back
// (FinishScan).
//
// The worker and the user-interface thread share only ScanRunning, ScanFoundCount, the
// settings (read) and the device (its calls are serialised by the tuner programming).
// Stopping is cooperative: clearing ScanRunning ends the scan after its current step.
// Every end of the worker clears ScanRunning and tells the target, so the channel window
// never waits in run state 6 with the sound off for a scan that cannot run.
#include "core/CAppController.h"

#include "core/CRunState.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "core/data/TunerProgramming.h"

#include <mfc/afxwin.h>
#include <vendor/chanloret/Chanloret.h>
#include <win32/sync.h>
#include <win32/thread.h>
#include <win32/time.h>
#include <win32/user.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr int kTvState = 2;
constexpr DWORD kSettleMs = 600;

// One plan of a country's table: its first and last channel number and its carriers.
struct Plan {
  int first = 0;
  int last = 0;
  const std::int32_t* hz = nullptr;
};

// The plan of tuner source 1 (antenna) or 2 (cable); false without one.
bool PlanForSource(const FrequencyTable* table, int source, Plan& plan) {
  if (!table || (source != 1 && source != 2)) return false;
  plan = source == 1 ? Plan{table->FirstChannel1, table->LastChannel1, table->Frequencies1}
                     : Plan{table->FirstChannel2, table->LastChannel2, table->Frequencies2};
  return plan.hz && plan.last >= plan.first;
}

// Percent of the plan done after `step`, measured against the plan's last channel number
// (a plan starting above 1 never reaches 100); the entry count stands in for a last
// number that cannot divide.
int ScanPercent(int step, const Plan& plan) {
  const int divisor = plan.last > 0 ? plan.last : plan.last - plan.first + 1;
  return std::clamp(100 * step / divisor, 0, 100);
}

}  // namespace

void CAppController::StartScan() {
  if (ScanRunning) {
    if (GetRunState() == CRunState::kChannelScan) ScanRunning = 0;
    return;
  }
  StopScanAndScheduleEntry();
  if (GetRunState() != kTvState) return;
  ScanRunning = 1;
  m_countryChanged = 0;
  m_pRunState->SetState(CRunState::kChannelScan);
  ForgetEndedScanWorkers();
  // Kept after it ends, so that shut-down can wait for it by its handle.
  CWinThread* worker = AfxBeginThread(ScanThreadProc, this, 0, 0, CREATE_SUSPENDED);
  if (!worker) {
    ScanRunning = 0;
    m_pRunState->SetState(kTvState);
    return;
  }
  worker->m_bAutoDelete = FALSE;
  m_scanWorkers.push_back(worker);
  worker->ResumeThread();
}

void CAppController::StopChannelScan() {
  if (ScanRunning) ScanRunning = 0;
}

UINT CAppController::ScanThreadProc(LPVOID param) {
  auto* controller = static_cast<CAppController*>(param);
  if (!controller) {
    ScanRunning = 0;
    return 0;
  }
  ScanFoundCount = 0;
  controller->SetAudioOn(0);
  controller->ScanPlan();
  HWND target = controller->GetScanTargetWnd();
  ScanRunning = 0;
  if (target) PostMessageA(target, UM_SCAN_DONE, 0, 0);
  return 0;
}

void CAppController::WaitForScanWorkers() {
  if (m_scanWorkers.empty()) return;
  ScanRunning = 0;
  for (CWinThread* worker : m_scanWorkers) {
    // It may be sending its progress to this thread's windows: served while it finishes its step.
    while (MsgWaitForMultipleObjects(1, &worker->m_hThread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
      MSG message;
      PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
    delete worker;
  }
  m_scanWorkers.clear();
}

void CAppController::ForgetEndedScanWorkers() {
  std::erase_if(m_scanWorkers, [](CWinThread* worker) {
    if (WaitForSingleObject(worker->m_hThread, 0) != WAIT_OBJECT_0) return false;
    delete worker;
    return true;
  });
}

void CAppController::ScanPlan() {
  if (!g_pAppSettings) return;
  const FrequencyTable* table = getFrequencyTableFromCountryCode(g_pAppSettings->CountryCode);
  Plan plan;
  if (!PlanForSource(table, g_pAppSettings->TunerSource, plan)) return;
  const int count = plan.last - plan.first + 1;
  for (int step = 1; step <= count && ScanRunning; ++step) {
    const float mhz = static_cast<float>(plan.hz[step - 1]) * 0.000001f;
    TunerTuneFrequency(mhz);
    CString text;
    text.Format("Channel %d", step);
    ShowOsdText(text);
    if (HWND target = GetScanTargetWnd()) SendMessageA(target, UM_SCAN_PROGRESS, ScanPercent(step, plan), 0);
    Sleep(kSettleMs);
    if (!TunerReadSignalLock()) continue;
    const int found = ++ScanFoundCount;
    // 38 MHz countries number what they find in a row; the others keep the plan position.
    ReportFoundChannel(table->StandardName, mhz, CurrentCountryUsesIf38() ? found : step);
  }
}

// The record belongs to the target once it is posted; a record no window took is freed.
void CAppController::ReportFoundChannel(const char* standard, float mhz, int number) {
  auto* record = new (std::nothrow) ChannelRecord{};
  if (!record) return;
  if (standard) std::strncpy(record->StandardName, standard, sizeof record->StandardName - 1);
  std::snprintf(record->ChannelName, sizeof record->ChannelName, "Channel%d", number);
  record->Frequency = mhz;
  record->ChannelNumber = number;
  HWND target = GetScanTargetWnd();
  if (!target || !PostMessageA(target, UM_SCAN_CHANNEL_FOUND, 0, reinterpret_cast<LPARAM>(record))) delete record;
}
