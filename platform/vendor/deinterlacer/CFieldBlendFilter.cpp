#include <vendor/deinterlacer/CFieldBlendFilter.h>

#include <vendor/deinterlacer/QnDeinterlacer.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Row y of `to` becomes the rounded average of rows y and y + 1 of `from`; the last row
// is kept. `from` may be `to`: each row is read before it is written, and the row below
// only after.
void BlendRows(const BYTE* from, BYTE* to, long stride, long rows) {
  for (long y = 0; y + 1 < rows; ++y) {
    const BYTE* line = from + y * stride;
    const BYTE* below = line + stride;
    BYTE* out = to + y * stride;
    long i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= stride; i += 16) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + i));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(below + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_avg_epu8(a, b));
    }
#endif
    for (; i < stride; ++i) out[i] = static_cast<BYTE>((line[i] + below[i] + 1) / 2);
  }
  if (rows > 0 && from != to) std::memcpy(to + (rows - 1) * stride, from + (rows - 1) * stride, static_cast<size_t>(stride));
}

}  // namespace

long CFieldBlendFilter::Stride() const {
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(m_pInput->CurrentMediaType().Format());
  return (info->bmiHeader.biWidth * info->bmiHeader.biBitCount + 31) / 32 * 4;
}

long CFieldBlendFilter::Rows(IMediaSample* pSample) const {
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(m_pInput->CurrentMediaType().Format());
  // A short sample blends the whole rows it holds.
  return std::min<long>(std::labs(info->bmiHeader.biHeight), pSample->GetActualDataLength() / Stride());
}

HRESULT CFieldBlendFilter::Transform(IMediaSample* pSample) {
  BYTE* data = nullptr;
  if (FAILED(pSample->GetPointer(&data))) return S_OK;
  BlendRows(data, data, Stride(), Rows(pSample));
  return S_OK;
}

HRESULT CFieldBlendFilter::Receive(IMediaSample* pSample) {
  if (!MustCopy()) return CTransInPlaceFilter::Receive(pSample);
  IMediaSample* out = OutputSampleFor(pSample);
  if (!out) return E_UNEXPECTED;
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  pSample->GetPointer(&from);
  out->GetPointer(&to);
  const long rows = Rows(pSample);
  BlendRows(from, to, Stride(), rows);
  // Bytes past the whole rows go as they came.
  const long blended = rows * Stride();
  const long length = pSample->GetActualDataLength();
  if (length > blended) std::memcpy(to + blended, from + blended, static_cast<size_t>(length - blended));
  const HRESULT hr = m_pOutput->Deliver(out);
  m_bSampleSkipped = FALSE;
  out->Release();
  return hr;
}
