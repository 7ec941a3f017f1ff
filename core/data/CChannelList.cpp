#include "core/data/CChannelList.h"

#include "core/data/CAppSettings.h"

#include <vendor/chanloret/Chanloret.h>

#include <cmath>
#include <cstring>

CChannelList* g_pChannelList = nullptr;
ChannelRecord* g_pCurrentChannelRecord = nullptr;
ChannelRecord* g_pPreviousChannelRecord = nullptr;
ChannelRecord* g_pTunedChannelRecord = nullptr;
std::atomic<int> ScanRunning{0};

namespace {

// Copies a text field into another of the same width, always terminated.
template <std::size_t N>
void CopyTextField(char (&dest)[N], const char (&source)[N]) {
  const std::size_t length = strnlen(source, N - 1);
  std::memcpy(dest, source, length);
  std::memset(dest + length, 0, N - length);
}

template <std::size_t N>
bool TextFieldsEqual(const char (&a)[N], const char (&b)[N]) {
  return std::strncmp(a, b, N - 1) == 0;
}

// The plan of a list id in the country's table: its bounds, -1 when there is none.
void PlanBounds(const FrequencyTable* table, int list, int& first, int& last) {
  first = last = -1;
  if (!table || (list != 1 && list != 2)) return;
  first = list == 1 ? table->FirstChannel1 : table->FirstChannel2;
  last = list == 1 ? table->LastChannel1 : table->LastChannel2;
}

const FrequencyTable* CurrentCountryTable() {
  return g_pAppSettings ? getFrequencyTableFromCountryCode(g_pAppSettings->CountryCode) : nullptr;
}

}  // namespace

// Records.

int CopyChannelRecord(const ChannelRecord* source, ChannelRecord* destination) {
  if (!source || !destination) return 0;
  if (source == destination) return 1;
  destination->SkipFlag = source->SkipFlag;
  CopyTextField(destination->StandardName, source->StandardName);
  CopyTextField(destination->ChannelName, source->ChannelName);
  destination->Frequency = source->Frequency;
  destination->ChannelNumber = source->ChannelNumber;
  return 1;
}

int ChannelRecordsEqual(const ChannelRecord* a, const ChannelRecord* b) {
  if (!a || !b) return 0;
  return a->SkipFlag == b->SkipFlag && a->ChannelNumber == b->ChannelNumber &&
         TextFieldsEqual(a->StandardName, b->StandardName) && TextFieldsEqual(a->ChannelName, b->ChannelName) &&
         std::fabs(static_cast<double>(a->Frequency) - static_cast<double>(b->Frequency)) <= 0.0001;
}

int GetActiveChannelListIndex() {
  if (!g_pAppSettings) return -1;
  const int input = g_pAppSettings->VideoInput;
  return input == 1 || input == 2 ? input : -1;
}

int GetPlanFirstChannel() {
  int first = -1;
  int last = -1;
  if (g_pAppSettings) PlanBounds(CurrentCountryTable(), g_pAppSettings->VideoInput, first, last);
  return first;
}

int GetPlanLastChannel() {
  int first = -1;
  int last = -1;
  if (g_pAppSettings) PlanBounds(CurrentCountryTable(), g_pAppSettings->VideoInput, first, last);
  return last;
}

// The lists.

CChannelList::CChannelList(IChannelTuningHost* host) : m_pHost(host) {}

CChannelList::~CChannelList() = default;

CChannelList::Channels* CChannelList::channels(int list) {
  return list == 1 ? &m_list1 : list == 2 ? &m_list2 : nullptr;
}

const CChannelList::Channels* CChannelList::channels(int list) const {
  return list == 1 ? &m_list1 : list == 2 ? &m_list2 : nullptr;
}

int* CChannelList::countOf(int list) { return list == 1 ? &m_count1 : list == 2 ? &m_count2 : nullptr; }

const ChannelRecord* CChannelList::find(int number, int list) const {
  const Channels* c = channels(list);
  if (!c) return nullptr;
  const auto it = c->find(number);
  return it == c->end() ? nullptr : it->second.get();
}

int CChannelList::AddChannel(int list, ChannelRecord* record) {
  Channels* c = channels(list);
  if (!record || !c || record->ChannelNumber < 1) return 0;
  auto& slot = (*c)[record->ChannelNumber];
  if (!slot) ++*countOf(list);
  slot.reset(record);
  return 1;
}

void CChannelList::PutChannel(int number, int list, ChannelRecord* record) {
  Channels* c = channels(list);
  if (!record || !c || number < 1) return;
  (*c)[number].reset(record);
}

int CChannelList::UpdateChannel(int number, int list, const ChannelRecord* record) {
  Channels* c = channels(list);
  if (!c || !record) return 0;
  const auto it = c->find(number);
  return it == c->end() ? 0 : CopyChannelRecord(record, it->second.get());
}

int CChannelList::GetChannel(int number, int list, ChannelRecord* out) const {
  const ChannelRecord* stored = find(number, list);
  return stored ? CopyChannelRecord(stored, out) : 0;
}

int CChannelList::RemoveChannel(int number, int list) {
  Channels* c = channels(list);
  if (!c || !c->erase(number)) return 0;
  int* count = countOf(list);
  if (*count > 0) --*count;
  return 1;
}

int CChannelList::HasChannel(int number, int list) const { return find(number, list) ? 1 : 0; }

int CChannelList::IsSkipped(int number, int list) const {
  const ChannelRecord* stored = find(number, list);
  return stored && stored->SkipFlag ? 1 : 0;
}

CString CChannelList::GetStandardName(int number, int list) const {
  const ChannelRecord* stored = find(number, list);
  return stored ? CString(stored->StandardName, static_cast<int>(strnlen(stored->StandardName, 9))) : CString();
}

int CChannelList::ClearList(int list) {
  Channels* c = channels(list);
  if (!c) return 0;
  c->clear();
  *countOf(list) = 0;
  return 1;
}

void CChannelList::RemoveAll() {
  ClearList(1);
  ClearList(2);
}

int CChannelList::GetChannelCount(int list) const {
  return list == 1 ? m_count1 : list == 2 ? m_count2 : -1;
}

void CChannelList::SetChannelCount(int count, int list) {
  if (int* field = countOf(list)) *field = count;
}

int CChannelList::GetCurrentChannel(int list) const {
  return list == 1 ? m_current1 : list == 2 ? m_current2 : -1;
}

void CChannelList::SetCurrentChannel(int number, int list) {
  if (list == 1) m_current1 = number;
  if (list == 2) m_current2 = number;
}

int CChannelList::GetFirstChannelNumber(int list) const {
  const Channels* c = channels(list);
  return c && !c->empty() ? c->begin()->first : -1;
}

int CChannelList::GetLastChannelNumber(int list) const {
  const Channels* c = channels(list);
  return c && !c->empty() ? c->rbegin()->first : -1;
}

int CChannelList::GetNextChannelNumber(int after, int list) const {
  const Channels* c = channels(list);
  if (!c) return -1;
  const auto next = c->upper_bound(after);
  return next != c->end() ? next->first : -1;
}

int CChannelList::IsCurrentRecord(const ChannelRecord* record) const {
  return ChannelRecordsEqual(record, g_pCurrentChannelRecord);
}

int CChannelList::GetTunedChannelText(CString& out) const {
  if (m_tunedNumber < 1) return 0;
  const ChannelRecord* stored = find(m_tunedNumber, GetActiveChannelListIndex());
  if (!stored) {
    out.Format("Channel %d", m_tunedNumber);
  } else {
    out.Format("%s %d", CString(stored->ChannelName, static_cast<int>(strnlen(stored->ChannelName, 61))),
               m_tunedNumber);
  }
  return 1;
}

// Channel up and down.

namespace {

// The first record from `at` on that is not skipped, going round from `end` to `begin`
// once at most; 0 on coming back to `current` first.
template <class Iterator>
int FirstUnskipped(Iterator at, Iterator begin, Iterator end, std::size_t records, int current, ChannelRecord* out) {
  if (at->first < 1) return 0;
  for (std::size_t visited = 0; visited < records; ++visited) {
    if (at->first == current) return 0;
    if (!at->second->SkipFlag) return CopyChannelRecord(at->second.get(), out);
    if (++at == end) at = begin;
  }
  return 0;
}

}  // namespace

// A current number outside the list's range starts from the end the search runs from. The
// walk goes from record to record, so numbers far apart cost nothing.
int CChannelList::NextChannel(int current, int list, ChannelRecord* out) const {
  const Channels* c = channels(list);
  if (!c || c->empty()) return 0;
  const bool inside = current >= c->begin()->first && current < c->rbegin()->first;
  return FirstUnskipped(inside ? c->upper_bound(current) : c->begin(), c->begin(), c->end(), c->size(), current, out);
}

int CChannelList::PrevChannel(int current, int list, ChannelRecord* out) const {
  const Channels* c = channels(list);
  if (!c || c->empty()) return 0;
  const bool inside = current > c->begin()->first && current <= c->rbegin()->first;
  return FirstUnskipped(inside ? std::make_reverse_iterator(c->lower_bound(current)) : c->rbegin(), c->rbegin(),
                        c->rend(), c->size(), current, out);
}
