// Global memory handles. A GMEM_FIXED block's handle is its address; a GMEM_MOVEABLE
// block's handle is separate and GlobalLock gives the address, which stays put while
// the block is locked.
#pragma once

#include <win32/types.h>

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define ERROR_NOT_LOCKED 158L

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags);
LPVOID GlobalLock(HGLOBAL hMem);
BOOL GlobalUnlock(HGLOBAL hMem);
SIZE_T GlobalSize(HGLOBAL hMem);
// NULL on success, hMem when it is not a global memory handle.
HGLOBAL GlobalFree(HGLOBAL hMem);
