// A device as the device lists keep it: its friendly name and its device path (the
// display name of its moniker).
#pragma once

#include <mfc/afx.h>

class CDeviceEntry {
 public:
  CDeviceEntry() = default;
  CDeviceEntry(LPCSTR friendlyName, LPCSTR devicePath) : m_friendlyName(friendlyName), m_devicePath(devicePath) {}

  const CString& GetFriendlyName() const { return m_friendlyName; }
  const CString& GetDevicePath() const { return m_devicePath; }

 private:
  CString m_friendlyName;
  CString m_devicePath;
};

using CDeviceEntryList = CList<CDeviceEntry, const CDeviceEntry&>;
