// Global memory functions over the process's block table.
#include <com/GlobalMemory.h>
#include <com/globalmem.h>

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes) { return plat::GlobalMemory::instance().alloc(uFlags, dwBytes); }

HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags) {
  return plat::GlobalMemory::instance().realloc(hMem, dwBytes, uFlags);
}

LPVOID GlobalLock(HGLOBAL hMem) { return plat::GlobalMemory::instance().lock(hMem); }

BOOL GlobalUnlock(HGLOBAL hMem) { return plat::GlobalMemory::instance().unlock(hMem); }

SIZE_T GlobalSize(HGLOBAL hMem) { return plat::GlobalMemory::instance().size(hMem); }

HGLOBAL GlobalFree(HGLOBAL hMem) { return plat::GlobalMemory::instance().free(hMem); }
