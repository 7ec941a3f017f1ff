// The windows of this process registered for device notices, and the announcement the
// hardware model makes when a device comes or goes. Thread safe; the notices are sent
// (cross-thread sends included) outside the lock.
#pragma once

#include <com/guid.h>
#include <win32/types.h>

#include <map>
#include <mutex>
#include <string>

namespace plat {

class DeviceNotifications {
 public:
  static DeviceNotifications& instance();

  HDEVNOTIFY add(HWND window, const GUID& interfaceClass, bool allClasses);
  bool remove(HDEVNOTIFY handle);

  // Sends WM_DEVICECHANGE to each window registered for `interfaceClass`; `devicePath` is
  // the device interface's name.
  void announce(bool arrival, const GUID& interfaceClass, const std::string& devicePath);

 private:
  struct Registration {
    HWND window;
    GUID interfaceClass;
    bool allClasses;
  };

  std::mutex m_lock;
  std::map<HDEVNOTIFY, Registration> m_registrations;
  std::uintptr_t m_next = 0xDE0000;
};

}  // namespace plat
