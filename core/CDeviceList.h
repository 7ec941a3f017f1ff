// The video capture devices present, by friendly name: one process-wide list, created on
// first use and refilled from the system device enumerator. The controller observes it
// to learn of devices arriving and leaving (event 80, the device path in wParam).
#pragma once

#include "core/CDeviceEntry.h"
#include "core/CSubject.h"

class CDeviceList : public CSubject {
 public:
  static constexpr int kDeviceChangeEvent = 80;

  // The list, created and filled on first use; null when it cannot be created.
  static CDeviceList* GetInstance();
  // The list when it exists, without creating it.
  static CDeviceList* Instance();
  static void Release();

  // Empties the list and fills it with the capture devices present.
  void Refresh();
  const CDeviceEntryList& GetEntries() const { return m_entries; }

 private:
  CDeviceList();
  ~CDeviceList() override = default;

  CDeviceEntryList m_entries;
};

// Set when a device arrival or removal changed the list; the controller then refreshes
// the settings' device names.
extern int DeviceChanged;
