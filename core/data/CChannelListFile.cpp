// The channel list's files: ".chl" load and save, and the default lists built from the
// country's plans.
#include "core/data/CChannelList.h"

#include "core/data/CAppSettings.h"
#include "core/data/CFileHandle.h"

#include <vendor/chanloret/Chanloret.h>
#include <win32/file.h>
#include <win32/handleapi.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Far above any country's plan: a larger count marks a file that is not a channel list.
constexpr std::int32_t kMostChannels = 10000;

bool ReadExact(HANDLE file, void* buffer, DWORD size) {
  DWORD read = 0;
  return ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

// The lists go to disk whole or not at all.
bool WriteWholeFile(LPCSTR path, const std::vector<BYTE>& image) {
  return ReplaceFileContentsA(path, image.data(), static_cast<DWORD>(image.size()));
}

void Append(std::vector<BYTE>& image, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const BYTE*>(data);
  image.insert(image.end(), bytes, bytes + size);
}

// A plan's records as the default lists hold them: channel k is entry k - 1 of the plan.
bool PlanRecords(const FrequencyTable& table, int plan, std::vector<ChannelRecord>& out) {
  const std::int32_t first = plan == 1 ? table.FirstChannel1 : table.FirstChannel2;
  const std::int32_t last = plan == 1 ? table.LastChannel1 : table.LastChannel2;
  const std::int32_t* hz = plan == 1 ? table.Frequencies1 : table.Frequencies2;
  const std::int64_t count = static_cast<std::int64_t>(last) - first + 1;
  if (!hz || first < 0 || count < 0 || count > kMostChannels) return false;
  out.clear();
  for (int k = 1; k <= count; ++k) {
    ChannelRecord record{};
    if (table.StandardName) std::strncpy(record.StandardName, table.StandardName, sizeof record.StandardName - 1);
    std::snprintf(record.ChannelName, sizeof record.ChannelName, "Channel%d", k);
    record.Frequency = static_cast<float>(hz[k - 1]) * 0.000001f;
    record.ChannelNumber = k;
    out.push_back(record);
  }
  return true;
}

bool CountryPlans(std::vector<ChannelRecord>& plan1, std::vector<ChannelRecord>& plan2) {
  if (!g_pAppSettings) return false;
  const FrequencyTable* table = getFrequencyTableFromCountryCode(g_pAppSettings->CountryCode);
  return table && PlanRecords(*table, 1, plan1) && PlanRecords(*table, 2, plan2);
}

std::vector<BYTE> FileImage(const ChannelFileHeader& header, const std::vector<const ChannelRecord*>& records) {
  std::vector<BYTE> image;
  image.reserve(sizeof header + records.size() * sizeof(ChannelRecord));
  Append(image, &header, sizeof header);
  for (const ChannelRecord* record : records) Append(image, record, sizeof *record);
  return image;
}

// A record read from a file, its texts cut to their fields; false for one no list holds.
bool Acceptable(ChannelRecord& record) {
  record.StandardName[sizeof record.StandardName - 1] = '\0';
  record.ChannelName[sizeof record.ChannelName - 1] = '\0';
  return record.ChannelNumber >= 1 && std::isfinite(record.Frequency);
}

}  // namespace

// A current channel the list does not hold would tune nothing and show no number: it
// becomes the list's first channel. An empty list has nothing to tune and keeps its own.
std::int32_t CChannelList::CurrentInList(const Channels& list, std::int32_t current) {
  if (list.empty() || list.count(current)) return current;
  return list.begin()->first;
}

int CChannelList::LoadFile(LPCSTR path) {
  if (!path) return 0;
  TakeLeftoverFileA(path);
  CFileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  ChannelFileHeader header{};
  if (!file || !ReadExact(file.get(), &header, sizeof header)) return 0;
  if (header.Count1 < 0 || header.Count1 > kMostChannels || header.Count2 < 0 || header.Count2 > kMostChannels)
    return 0;
  LARGE_INTEGER size{};
  const std::int64_t expected =
      sizeof header + (static_cast<std::int64_t>(header.Count1) + header.Count2) * sizeof(ChannelRecord);
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart != expected) return 0;

  Channels lists[2];
  for (int i = 0; i < header.Count1 + header.Count2; ++i) {
    auto record = std::make_unique<ChannelRecord>();
    if (!ReadExact(file.get(), record.get(), sizeof *record) || !Acceptable(*record)) return 0;
    const int number = record->ChannelNumber;
    lists[i < header.Count1 ? 0 : 1][number] = std::move(record);
  }
  m_list1 = std::move(lists[0]);
  m_list2 = std::move(lists[1]);
  m_count1 = static_cast<int>(m_list1.size());
  m_count2 = static_cast<int>(m_list2.size());
  m_current1 = CurrentInList(m_list1, header.CurrentChannel1);
  m_current2 = CurrentInList(m_list2, header.CurrentChannel2);
  return 1;
}

int CChannelList::SaveFile(LPCSTR path) {
  if (!path) return 0;
  const ChannelFileHeader header{m_current1, m_current2, static_cast<std::int32_t>(m_list1.size()),
                                 static_cast<std::int32_t>(m_list2.size())};
  std::vector<const ChannelRecord*> records;
  for (const Channels* list : {&m_list1, &m_list2}) {
    for (const auto& [number, record] : *list) records.push_back(record.get());
  }
  return WriteWholeFile(path, FileImage(header, records)) ? 1 : 0;
}

int CChannelList::BuildDefaultListFile(LPCSTR path) {
  std::vector<ChannelRecord> plan1;
  std::vector<ChannelRecord> plan2;
  if (!path || !CountryPlans(plan1, plan2)) return 0;
  const ChannelFileHeader header{1, 1, static_cast<std::int32_t>(plan1.size()),
                                 static_cast<std::int32_t>(plan2.size())};
  std::vector<const ChannelRecord*> records;
  for (const auto* plan : {&plan1, &plan2}) {
    for (const ChannelRecord& record : *plan) records.push_back(&record);
  }
  return WriteWholeFile(path, FileImage(header, records)) ? 1 : 0;
}

int CChannelList::BuildDefaultLists() {
  std::vector<ChannelRecord> plans[2];
  if (!CountryPlans(plans[0], plans[1])) return 0;
  RemoveAll();
  for (int list = 1; list <= 2; ++list) {
    for (const ChannelRecord& record : plans[list - 1]) AddChannel(list, new ChannelRecord(record));
  }
  return 1;
}
