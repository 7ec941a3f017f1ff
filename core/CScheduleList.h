// The planned views and recordings, in the order of "schedulefile.she" in the program
// folder, which the scheduler program reads too. Owned by the controller, which loads
// the file at start-up.
#pragma once

#include "core/CScheduleItem.h"

#include <mfc/afx.h>

class CScheduleList {
 public:
  CScheduleList() = default;
  CScheduleList(const CScheduleList&) = delete;
  CScheduleList& operator=(const CScheduleList&) = delete;
  virtual ~CScheduleList();

  // Replaces the items by the file's records, in file order; a trailing partial record is
  // ignored. 0 for a null path or a file that cannot be opened (the items stay).
  int Load(LPCSTR path);
  int RemoveAll();
  int GetCount() const { return m_items.GetSize(); }
  // The stored item (not a copy); null for an index outside the list.
  CScheduleItem* GetAt(int index) const;

 private:
  CPtrArray m_items;  // owned CScheduleItem*
};
