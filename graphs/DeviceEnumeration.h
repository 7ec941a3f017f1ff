// Listing the devices of a category through the system device enumerator: each device's
// friendly name (ANSI code page) and device path, appended in the enumerator's order.
// Needs COM initialised on the calling thread; lists nothing when it is not, or when the
// category is empty.
#pragma once

#include "core/data/CDeviceEntry.h"

#include <com/guid.h>

void EnumCategoryDevices(CDeviceEntryList& devices, REFCLSID category);
// Video capture devices.
void EnumVideoDevices(CDeviceEntryList& devices);
// Audio capture devices.
void EnumAudioDevices(CDeviceEntryList& devices);
