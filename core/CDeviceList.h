// The video capture devices present, by friendly name: one process-wide list, created on
// first use and refilled from the system device enumerator. It keeps a hidden watcher
// window (CDeviceObserver) that tells it of devices arriving and leaving, and passes each
// change that alters the list on to its own observers (the controller) as event 80.
#pragma once

#include "core/CObserver.h"
#include "core/CSubject.h"
#include "core/data/CDeviceEntry.h"

class CDeviceObserver;

class CDeviceList : public CSubject, public CObserver {
 public:
  // wParam the device path (LPCSTR), lParam DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE.
  static constexpr int kDeviceChangeEvent = 80;

  // The list, created and filled on first use; null when it cannot be created.
  static CDeviceList* GetInstance();
  // The list when it exists, without creating it.
  static CDeviceList* Instance();
  static void Release();

  // Empties the list and fills it with the capture devices present.
  void Refresh();
  // Removes the entry of that device path; 1 when there was one.
  int RemoveDevice(LPCSTR path);
  const CDeviceEntryList& GetEntries() const { return m_entries; }
  CDeviceObserver* GetWatcher() const { return m_pWatcher; }

  // Event 80: a removal drops the device's entry, an arrival refills the list; when the
  // list changed, sets DeviceChanged and tells the observers. Event 0: a subject goes away.
  // Other events are passed on unchanged. Always 1.
  int OnNotify(int event, WPARAM wParam, LPARAM lParam) override;

 private:
  CDeviceList();
  ~CDeviceList() override;

  void CreateWatcher();
  // The entry of that device path, or null.
  POSITION Find(LPCSTR path) const;
  bool OnDeviceChange(LPCSTR path, LPARAM notice);

  CDeviceEntryList m_entries;
  CDeviceObserver* m_pWatcher = nullptr;
  HWND m_hWatcher = nullptr;
};

// Set when a device arrival or removal changed the list; the controller then refreshes
// the settings' device names.
extern int DeviceChanged;
