// How many GDI and USER objects the process holds, as Windows counts them against its
// per-process limit of 10,000 each: a program that leaks them stops drawing.
#pragma once

#include <win32/types.h>

#define GR_GDIOBJECTS 0u
#define GR_USEROBJECTS 1u

// GR_GDIOBJECTS: bitmaps, brushes, fonts, pens, regions and device contexts (stock objects
// are not counted); GR_USEROBJECTS: windows, menus, icons and cursors. Only the calling
// process (GetCurrentProcess()) can be asked: 0 with ERROR_INVALID_PARAMETER otherwise,
// and for another flag.
DWORD GetGuiResources(HANDLE hProcess, DWORD uiFlags);
