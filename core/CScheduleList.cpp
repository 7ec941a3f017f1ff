// The schedule list's items and its file.
#include "core/CScheduleList.h"

#include "core/data/CFileHandle.h"

#include <win32/file.h>
#include <win32/handleapi.h>

#include <vector>

namespace {

// Far above any plan a user keeps: a file of more records is not a schedule.
constexpr LONGLONG kMostRecords = 10000;

// Every whole record up to the first short read, in file order; a trailing part of a record
// (a file cut short) is left out and loses nothing the file held whole. Fields are taken as
// they stand: the rules that read them act on the values they know and pass over the rest.
// False when the file cannot be read or is larger than any schedule.
bool ReadRecords(LPCSTR path, std::vector<ScheduleRecord>& records) {
  TakeLeftoverFileA(path);
  CFileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart / LONGLONG{sizeof(ScheduleRecord)} > kMostRecords)
    return false;
  // The file may grow while it is read: no more than it held at the start is taken.
  const auto whole = static_cast<std::size_t>(size.QuadPart) / sizeof(ScheduleRecord);
  std::vector<ScheduleRecord> all;
  all.reserve(whole);
  while (all.size() < whole) {
    ScheduleRecord record{};
    DWORD read = 0;
    if (!ReadFile(file.get(), &record, sizeof record, &read, nullptr)) return false;
    if (read < sizeof record) break;
    all.push_back(record);
  }
  records = std::move(all);
  return true;
}

// The schedule goes to disk whole or not at all.
bool WriteWholeFile(LPCSTR path, const std::vector<ScheduleRecord>& records) {
  return ReplaceFileContentsA(path, records.data(), static_cast<DWORD>(records.size() * sizeof(ScheduleRecord)));
}

}  // namespace

CScheduleList::~CScheduleList() { RemoveAll(); }

int CScheduleList::Load(LPCSTR path) {
  std::vector<ScheduleRecord> records;
  if (!path || !ReadRecords(path, records)) return 0;
  RemoveAll();
  for (const ScheduleRecord& record : records) m_items.Add(new CScheduleItem(record));
  return 1;
}

int CScheduleList::Save(LPCSTR path) const {
  if (!path) return 0;
  std::vector<ScheduleRecord> records;
  records.reserve(static_cast<std::size_t>(GetCount()));
  for (int i = 0; i < GetCount(); ++i) records.push_back(*ItemAt(i));
  return WriteWholeFile(path, records) ? 1 : 0;
}

int CScheduleList::RemoveAll() {
  for (int i = 0; i < m_items.GetSize(); ++i) delete ItemAt(i);
  m_items.RemoveAll();
  return 1;
}

CScheduleItem* CScheduleList::GetAt(int index) const {
  if (index < 0 || index >= m_items.GetSize()) return nullptr;
  return ItemAt(index);
}

int CScheduleList::Add(const CScheduleItem* item) {
  if (!item) return 0;
  m_items.Add(new CScheduleItem(*item));
  return 1;
}

// An index past the end would leave null items between; it is refused.
int CScheduleList::InsertAt(int index, const CScheduleItem* item) {
  if (!item || index < 0 || index > GetCount()) return 0;
  m_items.InsertAt(index, new CScheduleItem(*item));
  return 1;
}

bool CScheduleList::IsSameItem(const CScheduleItem* a, const CScheduleItem* b) {
  return a && b && a->start == b->start && a->duration == b->duration && a->recurrence == b->recurrence;
}

int CScheduleList::FindIndex(const CScheduleItem* item) const {
  if (!item) return -1;
  for (int i = 0; i < GetCount(); ++i) {
    if (IsSameItem(ItemAt(i), item)) return i;
  }
  return -1;
}

int CScheduleList::Remove(const CScheduleItem* item) {
  const int index = FindIndex(item);
  if (index < 0) return 0;
  DeleteAt(index);
  return 1;
}

int CScheduleList::CopyItem(CScheduleItem* destination, const CScheduleItem* source) {
  if (!destination || !source) return 0;
  static_cast<ScheduleRecord&>(*destination) = *source;
  return 1;
}

void CScheduleList::DeleteAt(int index) {
  delete ItemAt(index);
  m_items.RemoveAt(index);
}
