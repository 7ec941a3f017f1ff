#include "core/CScheduleList.h"

#include <win32/file.h>
#include <win32/handleapi.h>

CScheduleList::~CScheduleList() { RemoveAll(); }

int CScheduleList::Load(LPCSTR path) {
  if (!path) return 0;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  RemoveAll();
  ScheduleRecord record;
  DWORD read = 0;
  while (ReadFile(file, &record, sizeof(record), &read, nullptr) && read == sizeof(record)) {
    m_items.Add(new CScheduleItem(record));
  }
  CloseHandle(file);
  return 1;
}

int CScheduleList::RemoveAll() {
  for (int i = 0; i < m_items.GetSize(); ++i) delete static_cast<CScheduleItem*>(m_items.GetAt(i));
  m_items.RemoveAll();
  return 1;
}

CScheduleItem* CScheduleList::GetAt(int index) const {
  if (index < 0 || index >= m_items.GetSize()) return nullptr;
  return static_cast<CScheduleItem*>(m_items.GetAt(index));
}
