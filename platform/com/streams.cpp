// Streams on global memory.
#include <com/HGlobalStream.h>
#include <com/objbase.h>

#include <win32/error.h>

HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm) {
  if (!ppstm) return E_INVALIDARG;
  *ppstm = nullptr;
  if (!hGlobal) {
    hGlobal = GlobalAlloc(GMEM_MOVEABLE, 0);
    if (!hGlobal) return E_OUTOFMEMORY;
  } else {
    SetLastError(NO_ERROR);
    if (GlobalSize(hGlobal) == 0 && GetLastError() == ERROR_INVALID_HANDLE) return E_INVALIDARG;
  }
  *ppstm = plat::HGlobalStream::create(hGlobal, fDeleteOnRelease != FALSE);
  return S_OK;
}

HRESULT GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL* phglobal) {
  if (!phglobal) return E_INVALIDARG;
  *phglobal = plat::HGlobalStream::globalOf(pstm);
  return *phglobal ? S_OK : E_INVALIDARG;
}
