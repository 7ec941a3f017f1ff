// Device arrival and removal notices (WM_DEVICECHANGE). A window registers for a device
// interface class; when the machine's hardware model announces a device of that class
// arriving or going (plat::DeviceNotifications::announce), the window is sent
// WM_DEVICECHANGE with DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE and a
// DEV_BROADCAST_DEVICEINTERFACE_A record valid during the call. Programs look both
// functions up at run time in "user32".
#pragma once

#include <com/guid.h>
#include <win32/types.h>

#define DBT_DEVICEARRIVAL 0x8000
#define DBT_DEVICEREMOVECOMPLETE 0x8004
#define DBT_DEVTYP_DEVICEINTERFACE 0x00000005
#define DEVICE_NOTIFY_WINDOW_HANDLE 0x00000000
#define DEVICE_NOTIFY_ALL_INTERFACE_CLASSES 0x00000004

struct DEV_BROADCAST_HDR {
  DWORD dbch_size;
  DWORD dbch_devicetype;
  DWORD dbch_reserved;
};
using PDEV_BROADCAST_HDR = DEV_BROADCAST_HDR*;

struct DEV_BROADCAST_DEVICEINTERFACE_A {
  DWORD dbcc_size;
  DWORD dbcc_devicetype;
  DWORD dbcc_reserved;
  GUID dbcc_classguid;
  char dbcc_name[1];
};
using PDEV_BROADCAST_DEVICEINTERFACE_A = DEV_BROADCAST_DEVICEINTERFACE_A*;
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) == 32);

// NotificationFilter points to a DEV_BROADCAST_DEVICEINTERFACE_A naming the class.
HDEVNOTIFY RegisterDeviceNotificationA(HANDLE hRecipient, LPVOID NotificationFilter, DWORD Flags);
BOOL UnregisterDeviceNotification(HDEVNOTIFY Handle);
