// GDI objects in general: stock objects, selection into a device context, deletion and
// the object records GetObject fills.
#pragma once

#include <win32/types.h>

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

#define HGDI_ERROR (reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(-1)))
#define CLR_INVALID 0xFFFFFFFFu

HGDIOBJ GetStockObject(int i);
// FALSE for a handle that is not a GDI object or that is selected into a device context;
// TRUE (and nothing done) for a stock object.
BOOL DeleteObject(HGDIOBJ ho);
// The object it replaces; for a region, the clip region's kind (SIMPLEREGION…) as a handle.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
DWORD GetObjectType(HGDIOBJ h);
int GetObjectA(HGDIOBJ h, int c, LPVOID pv);
#define GetObject GetObjectA
