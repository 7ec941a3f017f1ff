#include <vendor/deinterlacer/CFieldBlendFilter.h>

#include <vendor/deinterlacer/QnDeinterlacer.h>

#include <algorithm>
#include <cstdlib>
#include <new>

CUnknown* WINAPI CFieldBlendFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
  auto* filter = new (std::nothrow) CFieldBlendFilter(pUnk, phr);
  if (!filter && phr) *phr = E_OUTOFMEMORY;
  return filter;
}

CFieldBlendFilter::CFieldBlendFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CTransInPlaceFilter("Quarnelix Deinterlacer", pUnk, CLSID_QnDeinterlacer, phr, true) {}

HRESULT CFieldBlendFilter::CheckInputType(const CMediaType* mtIn) {
  if (*mtIn->Type() != MEDIATYPE_Video || *mtIn->FormatType() != FORMAT_VideoInfo ||
      mtIn->FormatLength() < sizeof(VIDEOINFOHEADER))
    return VFW_E_TYPE_NOT_ACCEPTED;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(mtIn->Format());
  const WORD bits = info->bmiHeader.biBitCount;
  const bool known = (*mtIn->Subtype() == MEDIASUBTYPE_YUY2 && bits == 16) ||
                     (*mtIn->Subtype() == MEDIASUBTYPE_RGB24 && bits == 24) ||
                     (*mtIn->Subtype() == MEDIASUBTYPE_RGB32 && bits == 32);
  return known && info->bmiHeader.biWidth > 0 && info->bmiHeader.biHeight != 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CFieldBlendFilter::Transform(IMediaSample* pSample) {
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(m_pInput->CurrentMediaType().Format());
  const long stride = (info->bmiHeader.biWidth * info->bmiHeader.biBitCount + 31) / 32 * 4;
  BYTE* data = nullptr;
  if (FAILED(pSample->GetPointer(&data))) return S_OK;
  // A short sample blends the whole rows it holds.
  const long rows = std::min<long>(std::labs(info->bmiHeader.biHeight), pSample->GetActualDataLength() / stride);
  for (long y = 0; y + 1 < rows; ++y) {
    BYTE* line = data + y * stride;
    const BYTE* below = line + stride;
    for (long i = 0; i < stride; ++i) line[i] = static_cast<BYTE>((line[i] + below[i] + 1) / 2);
  }
  return S_OK;
}
