// Loading bitmaps from a module's bitmap resources (LoadBitmapA, LoadImageA) or from a
// bitmap file (LoadImageA with LR_LOADFROMFILE), as a device-dependent bitmap or, with
// LR_CREATEDIBSECTION, a bottom-up DIB section keeping the picture's depth (1, 24 or 32
// bits; other depths become 24). A missing file fails with ERROR_FILE_NOT_FOUND, a
// missing resource with ERROR_RESOURCE_NAME_NOT_FOUND, a broken picture with
// ERROR_INVALID_DATA. Requested sizes are ignored: the bitmap keeps the picture's size.
#pragma once

#include <win32/types.h>

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2

#define LR_DEFAULTCOLOR 0x00000000
#define LR_MONOCHROME 0x00000001
#define LR_LOADFROMFILE 0x00000010
#define LR_LOADTRANSPARENT 0x00000020
#define LR_DEFAULTSIZE 0x00000040
#define LR_CREATEDIBSECTION 0x00002000
#define LR_SHARED 0x00008000

#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad);
#define LoadImage LoadImageA
// A resource bitmap of the module (NULL: the program), by MAKEINTRESOURCE(id) or "#id".
HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName);
#define LoadBitmap LoadBitmapA
