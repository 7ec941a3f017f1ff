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

// The live picture chain always holds this filter. The stick delivers its pictures the
// right way round and in their own colours, so there is nothing to correct: samples pass
// as they came (a negative here would show every picture, and the text laid over it, in
// the opposite colours).
HRESULT CInvertFilter::Transform(IMediaSample*) { return S_OK; }
