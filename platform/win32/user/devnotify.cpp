#include <win32/user/devnotify.h>

#include <win32/error.h>
#include <win32/module/SystemExports.h>
#include <win32/user/DeviceNotifications.h>
#include <win32/user/window.h>

namespace {

[[maybe_unused]] const bool g_exported =
    (plat::SystemExports::add("user32", "RegisterDeviceNotificationA", reinterpret_cast<void*>(&RegisterDeviceNotificationA)),
     plat::SystemExports::add("user32", "UnregisterDeviceNotification",
                              reinterpret_cast<void*>(&UnregisterDeviceNotification)),
     true);

}  // namespace

HDEVNOTIFY RegisterDeviceNotificationA(HANDLE hRecipient, LPVOID NotificationFilter, DWORD Flags) {
  const auto window = static_cast<HWND>(hRecipient);
  const auto* filter = static_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(NotificationFilter);
  const bool allClasses = (Flags & DEVICE_NOTIFY_ALL_INTERFACE_CLASSES) != 0;
  if (!IsWindow(window) || !filter || filter->dbcc_devicetype != DBT_DEVTYP_DEVICEINTERFACE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return plat::DeviceNotifications::instance().add(window, filter->dbcc_classguid, allClasses);
}

BOOL UnregisterDeviceNotification(HDEVNOTIFY Handle) {
  if (plat::DeviceNotifications::instance().remove(Handle)) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
