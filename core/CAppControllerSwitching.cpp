// The channel operations the windows call: channel up and down, recall of the previous
// channel, the channel chosen in the channel window, and the tunings of the input
// switches and of recording and standard changes. The user's operations stop a running
// scan and a running scheduled entry first, switch the sound off around the tuning and
// name the channel on the picture.
#include "core/CAppController.h"

#include "core/CRunState.h"
#include "core/CScheduleList.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"

#include <cstring>

namespace {

constexpr int kTvState = 2;
constexpr int kRecordingState = 3;

// The record's name up to its field's end, which a record from a file may fill.
CString NameOf(const ChannelRecord& record) {
  return CString(record.ChannelName, static_cast<int>(strnlen(record.ChannelName, sizeof record.ChannelName)));
}

// A default name ("Channel7") adds nothing to the number; another name goes before it,
// after `separator`.
CString RecordText(const ChannelRecord& record, LPCSTR separator) {
  const CString name = NameOf(record);
  CString text;
  if (name.Find("Channel") >= 0)
    text.Format("%d", record.ChannelNumber);
  else
    text.Format("%s%s%d", static_cast<LPCSTR>(name), separator, record.ChannelNumber);
  return text;
}

// The list of the settings' tuner source: 1 antenna, 2 cable, 0 none.
int TunerSourceList() {
  const int source = g_pAppSettings ? g_pAppSettings->TunerSource : 0;
  return source == 1 || source == 2 ? source : 0;
}

}  // namespace

void CAppController::StopScanAndScheduleEntry() {
  if (GetRunState() == CRunState::kChannelScan) ScanRunning = 0;
  StopScheduledRecording();
}

void CAppController::StopScheduledRecording() {
  if (m_pScheduleList && (m_pScheduleList->RecordRun() || m_pScheduleList->ViewRun())) EndScheduleEntry();
}

void CAppController::StepChannel(int up) {
  StopScanAndScheduleEntry();
  if (GetRunState() != kTvState || !m_pCaptureGraph || !g_pChannelList || !g_pTunedChannelRecord) return;
  const int list = GetActiveChannelListIndex();
  if (list < 0) return;
  const int current = g_pTunedChannelRecord->ChannelNumber;
  const int found = up ? g_pChannelList->NextChannel(current, list, g_pTunedChannelRecord)
                       : g_pChannelList->PrevChannel(current, list, g_pTunedChannelRecord);
  if (!found) return;
  SetAudioOn(0);
  g_pChannelList->TuneChannel(g_pTunedChannelRecord->ChannelNumber, list);
  ShowOsdText(RecordText(*g_pTunedChannelRecord, " "));
  SetAudioOn(1);
}

void CAppController::RecallPreviousChannel() {
  StopScanAndScheduleEntry();
  if (!g_pChannelList || GetRunState() != kTvState) return;
  SetAudioOn(0);
  g_pChannelList->TunePreviousChannel();
  SetAudioOn(1);
  if (g_pCurrentChannelRecord) ShowOsdText(RecordText(*g_pCurrentChannelRecord, " "));
}

void CAppController::TuneChannelFromDialog(const ChannelRecord* record) {
  StopScanAndScheduleEntry();
  if (GetRunState() != kTvState || !record || !g_pChannelList || g_pChannelList->IsCurrentRecord(record)) return;
  const int list = GetActiveChannelListIndex();
  if (list == -1) return;
  SetAudioOn(0);
  g_pChannelList->TuneChannelInRange(record->ChannelNumber, list);
  ShowOsdText(RecordText(*record, ""));
  SetAudioOn(1);
}

int CAppController::TuneCurrentChannel() {
  if (GetRunState() == CRunState::kChannelScan) ScanRunning = 0;
  const int state = GetRunState();
  if ((state != kTvState && state != kRecordingState) || !m_pRunState->IsTunerSubState() || !g_pChannelList) return 1;
  const int list = TunerSourceList();
  if (!list) return 1;
  const int number = g_pChannelList->GetCurrentChannel(list);
  SetAudioOn(0);
  g_pChannelList->TuneNumber(number, list);
  SetAudioOn(1);
  if (!g_pTunedChannelRecord) return 1;
  if (!g_pChannelList->HasChannel(number, list)) {
    CString text;
    text.Format("%d", number);
    ShowOsdText(text);
  } else {
    ShowOsdText(RecordText(*g_pTunedChannelRecord, " "));
  }
  return 1;
}

void CAppController::RetuneSilently() {
  const int state = GetRunState();
  if (!g_pAppSettings || !g_pChannelList || (state != kTvState && state != kRecordingState)) return;
  const int list = TunerSourceList();
  if (!list) return;
  SetAudioOn(0);
  g_pChannelList->TuneNumberMuted(g_pChannelList->GetCurrentChannel(list), list);
  SetAudioOn(1);
}
