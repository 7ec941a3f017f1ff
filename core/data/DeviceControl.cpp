#include "core/data/DeviceControl.h"

CQXUSB_Control* g_pDeviceControl = nullptr;
