#include <win32/user/DeviceNotifications.h>

#include <win32/user/devnotify.h>
#include <win32/user/message.h>
#include <win32/user/window.h>

#include <cstring>
#include <vector>

namespace plat {

DeviceNotifications& DeviceNotifications::instance() {
  static DeviceNotifications notifications;
  return notifications;
}

HDEVNOTIFY DeviceNotifications::add(HWND window, const GUID& interfaceClass, bool allClasses) {
  std::lock_guard guard(m_lock);
  const auto handle = reinterpret_cast<HDEVNOTIFY>(m_next += 4);
  m_registrations[handle] = Registration{window, interfaceClass, allClasses};
  return handle;
}

bool DeviceNotifications::remove(HDEVNOTIFY handle) {
  std::lock_guard guard(m_lock);
  return m_registrations.erase(handle) > 0;
}

void DeviceNotifications::announce(bool arrival, const GUID& interfaceClass, const std::string& devicePath) {
  std::vector<HWND> recipients;
  {
    std::lock_guard guard(m_lock);
    for (const auto& [handle, registration] : m_registrations)
      if (registration.allClasses || registration.interfaceClass == interfaceClass)
        recipients.push_back(registration.window);
  }
  // The record with the name after it, as one block.
  const std::size_t size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + devicePath.size() + 1;
  std::vector<char> block(std::max(size, sizeof(DEV_BROADCAST_DEVICEINTERFACE_A)), '\0');
  auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(block.data());
  record->dbcc_size = static_cast<DWORD>(size);
  record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  record->dbcc_classguid = interfaceClass;
  std::memcpy(record->dbcc_name, devicePath.c_str(), devicePath.size() + 1);
  const WPARAM event = arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
  for (HWND window : recipients)
    if (IsWindow(window)) SendMessageA(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(record));
}

}  // namespace plat
