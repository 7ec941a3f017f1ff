#include <vendor/still_capture/CQnStillCaptureInputPin.h>

#include <vendor/still_capture/CQnStillCaptureFilter.h>

CQnStillCaptureInputPin::CQnStillCaptureInputPin(CQnStillCaptureFilter* filter, CCritSec* lock, HRESULT* phr)
    : CBaseInputPin("Still capture input pin", filter, lock, phr, L"Input"), m_filter(filter) {}

HRESULT CQnStillCaptureInputPin::CheckMediaType(const CMediaType* pmt) {
  if (*pmt->Type() != MEDIATYPE_Video || *pmt->FormatType() != FORMAT_VideoInfo ||
      pmt->FormatLength() < sizeof(VIDEOINFOHEADER))
    return VFW_E_TYPE_NOT_ACCEPTED;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(pmt->Format());
  const WORD bits = info->bmiHeader.biBitCount;
  const bool known = (*pmt->Subtype() == MEDIASUBTYPE_YUY2 && bits == 16) ||
                     (*pmt->Subtype() == MEDIASUBTYPE_RGB24 && bits == 24) ||
                     (*pmt->Subtype() == MEDIASUBTYPE_RGB32 && bits == 32);
  return known && info->bmiHeader.biWidth > 0 && info->bmiHeader.biHeight != 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

STDMETHODIMP CQnStillCaptureInputPin::Receive(IMediaSample* pSample) {
  const HRESULT hr = CBaseInputPin::Receive(pSample);
  if (hr != S_OK) return hr;
  m_filter->receive(pSample, m_mt);
  return S_OK;
}
