// Loading a module's resources by id: string-table texts and icons. The resources are
// the module's own (resources/ compiled in by the resource compiler, see ResourceTable.h);
// hInstance NULL means the program.
#pragma once

#include <win32/types.h>

#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDI_HAND MAKEINTRESOURCEA(32513)
#define IDI_QUESTION MAKEINTRESOURCEA(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEA(32515)
#define IDI_ASTERISK MAKEINTRESOURCEA(32516)
#define IDI_WINLOGO MAKEINTRESOURCEA(32517)

// The length copied (without the NUL); 0 when the id is absent.
int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);
// hInstance NULL gives the standard icons (IDI_*); otherwise the module's icon resource.
HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);

// Raw resources: toolbars (bitmaps load through LoadImage). The handle stays valid while
// the module is loaded; LoadResource and LockResource give the bytes themselves.
using HRSRC = struct HRSRC__*;
#define RT_TOOLBAR MAKEINTRESOURCEA(241)
HRSRC FindResourceA(HINSTANCE hModule, LPCSTR lpName, LPCSTR lpType);
HGLOBAL LoadResource(HINSTANCE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HINSTANCE hModule, HRSRC hResInfo);
BOOL FreeResource(HGLOBAL hResData);
