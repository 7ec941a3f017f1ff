#include <dshow/mtype.h>

#include <com/objbase.h>

#include <cstring>

void FreeMediaType(AM_MEDIA_TYPE& mt) {
  if (mt.cbFormat != 0 || mt.pbFormat) CoTaskMemFree(mt.pbFormat);
  mt.cbFormat = 0;
  mt.pbFormat = nullptr;
  if (mt.pUnk) {
    mt.pUnk->Release();
    mt.pUnk = nullptr;
  }
}

void DeleteMediaType(AM_MEDIA_TYPE* pmt) {
  if (!pmt) return;
  FreeMediaType(*pmt);
  CoTaskMemFree(pmt);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* pmtTarget, const AM_MEDIA_TYPE* pmtSource) {
  if (!pmtTarget || !pmtSource) return E_POINTER;
  *pmtTarget = *pmtSource;
  if (pmtSource->cbFormat != 0 && pmtSource->pbFormat) {
    pmtTarget->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(pmtSource->cbFormat));
    if (!pmtTarget->pbFormat) {
      pmtTarget->cbFormat = 0;
      pmtTarget->pUnk = nullptr;
      return E_OUTOFMEMORY;
    }
    std::memcpy(pmtTarget->pbFormat, pmtSource->pbFormat, pmtSource->cbFormat);
  } else {
    pmtTarget->pbFormat = nullptr;
    pmtTarget->cbFormat = 0;
  }
  if (pmtTarget->pUnk) pmtTarget->pUnk->AddRef();
  return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* pSrc) {
  if (!pSrc) return nullptr;
  auto* pmt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!pmt) return nullptr;
  if (FAILED(CopyMediaType(pmt, pSrc))) {
    CoTaskMemFree(pmt);
    return nullptr;
  }
  return pmt;
}
