// The clipboard of the machine's desktop, kept in the process: text only (CF_TEXT), as a
// global memory block the clipboard owns once set.
#pragma once

#include <win32/types.h>

#define CF_TEXT 1

BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// The clipboard takes the block; NULL when it is not open or the format is not text.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);
