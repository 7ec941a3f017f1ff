#include <vendor/video_invert/CInvertFilter.h>

#include <vendor/video_invert/QnInvert.h>

#include <new>

CUnknown* WINAPI CInvertFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
  auto* filter = new (std::nothrow) CInvertFilter(pUnk, phr);
  if (!filter && phr) *phr = E_OUTOFMEMORY;
  return filter;
}

CInvertFilter::CInvertFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CTransInPlaceFilter("Quarnelix Video Invert Filter", pUnk, CLSID_QnVideoInvert, phr, true) {}

HRESULT CInvertFilter::CheckInputType(const CMediaType* mtIn) {
  if (*mtIn->Type() != MEDIATYPE_Video) return VFW_E_TYPE_NOT_ACCEPTED;
  const GUID& subtype = *mtIn->Subtype();
  return subtype == MEDIASUBTYPE_YUY2 || subtype == MEDIASUBTYPE_RGB24 || subtype == MEDIASUBTYPE_RGB32
             ? S_OK
             : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CInvertFilter::Transform(IMediaSample* pSample) {
  BYTE* data = nullptr;
  if (FAILED(pSample->GetPointer(&data))) return S_OK;
  const long length = pSample->GetActualDataLength();
  for (long i = 0; i < length; ++i) data[i] = static_cast<BYTE>(255 - data[i]);
  return S_OK;
}
