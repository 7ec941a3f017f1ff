// The audio capture devices present, by friendly name: one process-wide list, filled once
// when it is created on first use.
#pragma once

#include "core/data/CDeviceEntry.h"

class CNameList {
 public:
  // The list, created and filled on first use; null when it cannot be created.
  static CNameList* GetInstance();
  static void DestroyInstance();

  const CDeviceEntryList& GetEntries() const { return m_entries; }

 private:
  CNameList();

  CDeviceEntryList m_entries;
};
