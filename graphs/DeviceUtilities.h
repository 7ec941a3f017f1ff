// Finding capture devices by friendly name and making filters creatable: the device
// lookups the graphs and the device wrappers share, the registration of a filter module
// of the program's "Filter" folder, and a filter's property pages. Names are ANSI code
// page text.
//
// The listing of a category's devices into a device list (EnumCategoryDevices and its
// video and audio forms) is in graphs/DeviceEnumeration.h.
#pragma once

#include "core/data/CDeviceEntry.h"

#include <dshow/dshow.h>

// Adds the devices of the kernel-streaming capture category to the list.
void EnumKsCaptureDevices(CDeviceEntryList& devices);

// True when the two names are equal, ignoring letter case.
BOOL MatchDeviceName(LPCSTR name, LPCSTR wanted);

// The index-th device of the category whose friendly name contains the wanted name,
// ignoring letter case, bound to a filter that the caller owns. The index counts from 1;
// 0 also means the first, since callers pass either a match flag or an ordinal. FALSE,
// with *filter null, when there is no such device.
BOOL FindFilterInCategory(REFCLSID category, LPCSTR wanted, int index, IBaseFilter** filter);
BOOL FindVideoCaptureDevice(LPCSTR wanted, IBaseFilter** filter, int index = 0);
BOOL FindAudioCaptureDevice(LPCSTR wanted, IBaseFilter** filter, int index = 0);
// The audio input category when `audio` is nonzero, else the video input category.
BOOL FindDeviceByName(LPCSTR wanted, IBaseFilter** filter, BOOL audio, int index = 0);

// True when a filter of the class can be created in process.
BOOL IsFilterRegistered(REFCLSID clsid);
// Loads the module and runs its DllRegisterServer, if it has one. A path that is not a
// loadable module does nothing.
void RegisterFilterModule(LPCSTR path);

// Shows the filter's property pages in a modal frame over the active window and returns
// when it is closed. FALSE, showing nothing, when the filter has no property pages.
BOOL ShowFilterPropertyPages(IBaseFilter* filter);
