// Tuning: a list record or a plan entry becomes the channel on screen. Every operation
// keeps the process-wide records (current, previous, last tuned list record), waits for
// the tuner to settle and marks the number as the list's current channel.
#include "core/data/CChannelList.h"

#include "core/data/CAppSettings.h"
#include "core/data/TunerProgramming.h"

#include <vendor/chanloret/Chanloret.h>
#include <win32/time.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

namespace {

constexpr DWORD kSettleMs = 300;
constexpr DWORD kQuickMs = 100;
constexpr DWORD kMutedSettleMs = 200;

bool Allocated(ChannelRecord*& record) {
  if (!record) record = new (std::nothrow) ChannelRecord{};
  return record != nullptr;
}

void Wait(DWORD ms) {
  if (ms) Sleep(ms);
}

void CopyStandard(char* dest, std::size_t size, const char* name) {
  std::memset(dest, 0, size);
  if (name) std::strncpy(dest, name, size - 1);
}

// The number of channels in the plan of a list id, 0 when there is no such plan.
int PlanCount(const FrequencyTable* table, int list) {
  if (!table || (list != 1 && list != 2)) return 0;
  const int first = list == 1 ? table->FirstChannel1 : table->FirstChannel2;
  const int last = list == 1 ? table->LastChannel1 : table->LastChannel2;
  const std::int32_t* hz = list == 1 ? table->Frequencies1 : table->Frequencies2;
  return hz && first >= 0 && last >= first ? last - first + 1 : 0;
}

const FrequencyTable* CountryTable() {
  return g_pAppSettings ? getFrequencyTableFromCountryCode(g_pAppSettings->CountryCode) : nullptr;
}

// The plan the video input selects, as the range checks of list tuning count it.
bool InActivePlan(int number) {
  const int first = GetPlanFirstChannel();
  const int last = GetPlanLastChannel();
  return first >= 0 && last >= first && number >= 1 && number <= last - first + 1;
}

}  // namespace

void CChannelList::SetAudioOn(int on) {
  if (m_pHost) m_pHost->SetAudioOn(on);
}

void CChannelList::ApplyStandard(const char* name, bool always) {
  if (!CurrentCountryUsesIf38()) return;
  // A record's name may fill its field without a NUL; the copy is always terminated.
  char standard[sizeof m_standardInForce] = {};
  std::strncpy(standard, name, sizeof(ChannelRecord::StandardName));
  if (!always && std::strcmp(standard, m_standardInForce) == 0) return;
  if (m_pHost) m_pHost->ApplyChannelStandard(standard);
  std::memcpy(m_standardInForce, standard, sizeof m_standardInForce);
}

void CChannelList::Tuned(int number, int list) {
  m_tunedNumber = number;
  SetCurrentChannel(number, list);
}

int CChannelList::TuneListRecord(int number, int list, DWORD waitBefore, DWORD waitAfter, bool alwaysStandard,
                                 bool muted) {
  const ChannelRecord* record = find(number, list);
  if (!record) return 0;
  if (!g_pPreviousChannelRecord || !g_pCurrentChannelRecord) {
    if (!Allocated(g_pPreviousChannelRecord) || !Allocated(g_pCurrentChannelRecord) ||
        !Allocated(g_pTunedChannelRecord))
      return 0;
    CopyChannelRecord(record, g_pPreviousChannelRecord);
    CopyStandard(m_standardInForce, sizeof m_standardInForce, g_pPreviousChannelRecord->StandardName);
  } else {
    if (!Allocated(g_pTunedChannelRecord)) return 0;
    CopyChannelRecord(g_pCurrentChannelRecord, g_pPreviousChannelRecord);
  }
  CopyChannelRecord(record, g_pTunedChannelRecord);
  CopyChannelRecord(record, g_pCurrentChannelRecord);
  Wait(waitBefore);
  if (muted) SetAudioOn(0);
  ApplyStandard(record->StandardName, alwaysStandard);
  TunerTuneFrequency(record->Frequency);
  Tuned(number, list);
  Wait(waitAfter);
  if (muted) SetAudioOn(1);
  return 1;
}

int CChannelList::TunePlanEntry(int number, int list, DWORD waitBefore, DWORD waitAfter, bool muted) {
  ScanRunning = 0;  // a running scan stops after its current channel
  if (!Allocated(g_pPreviousChannelRecord) || !Allocated(g_pCurrentChannelRecord)) return 0;
  const FrequencyTable* table = CountryTable();
  if (number < 1 || number > PlanCount(table, list)) return 0;
  const std::int32_t hz = (list == 1 ? table->Frequencies1 : table->Frequencies2)[number - 1];

  CopyChannelRecord(g_pCurrentChannelRecord, g_pPreviousChannelRecord);
  ChannelRecord& current = *g_pCurrentChannelRecord;
  current = ChannelRecord{};
  CopyStandard(current.StandardName, sizeof current.StandardName, table->StandardName);
  std::snprintf(current.ChannelName, sizeof current.ChannelName, "Channel%d", number);
  current.Frequency = static_cast<float>(hz) * 0.000001f;
  current.ChannelNumber = number;
  if (!m_standardInForce[0]) CopyStandard(m_standardInForce, sizeof m_standardInForce, table->StandardName);

  Wait(waitBefore);
  if (muted) SetAudioOn(0);
  ApplyStandard(current.StandardName, true);
  TunerTuneFrequency(current.Frequency);
  Tuned(number, list);
  Wait(waitAfter);
  if (muted) SetAudioOn(1);
  return 1;
}

int CChannelList::TuneChannel(int number, int list, int) {
  if (!HasChannel(number, list) || IsSkipped(number, list)) return 0;
  return TuneListRecord(number, list, 0, kSettleMs, false);
}

int CChannelList::TuneChannelInRange(int number, int list, int) {
  if (!InActivePlan(number)) return 0;
  return TuneListRecord(number, list, kSettleMs, kSettleMs, true);
}

int CChannelList::TuneChannelQuick(int number, int list, int) {
  if (number < 0) return 0;
  return TuneListRecord(number, list, kQuickMs, kSettleMs, false);
}

int CChannelList::TuneChannelInRangeMuted(int number, int list, int) {
  if (!InActivePlan(number)) return 0;
  return TuneListRecord(number, list, 0, kMutedSettleMs, true, true);
}

int CChannelList::TuneNumber(int number, int list, int) {
  if (number < 1 || number > PlanCount(CountryTable(), list)) return 0;
  if (HasChannel(number, list)) return TuneChannelInRange(number, list);
  return TunePlanEntry(number, list, kQuickMs, kSettleMs);
}

int CChannelList::TuneNumberMuted(int number, int list, int) {
  if (number < 1 || number > PlanCount(CountryTable(), list)) return 0;
  if (HasChannel(number, list)) return TuneChannelInRangeMuted(number, list);
  return TunePlanEntry(number, list, 0, kMutedSettleMs, true);
}

int CChannelList::TunePreviousChannel() {
  if (!g_pAppSettings || !g_pPreviousChannelRecord || !g_pCurrentChannelRecord) return 0;
  const int list = g_pAppSettings->VideoInput == 1 ? 1 : 2;
  const int number = g_pPreviousChannelRecord->ChannelNumber;
  if (!HasChannel(number, list) || !Allocated(g_pTunedChannelRecord)) return 0;
  Wait(kSettleMs);
  ApplyStandard(g_pPreviousChannelRecord->StandardName, false);
  TunerTuneFrequency(g_pPreviousChannelRecord->Frequency);
  Tuned(number, list);
  Wait(kSettleMs);
  std::swap(g_pPreviousChannelRecord, g_pCurrentChannelRecord);
  CopyChannelRecord(g_pCurrentChannelRecord, g_pTunedChannelRecord);
  return 1;
}
