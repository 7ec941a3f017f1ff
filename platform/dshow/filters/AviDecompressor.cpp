#include <dshow/filters/AviDecompressor.h>

#include <dshow/amvideo.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/baseclasses/CTransformOutputPin.h>
#include <dshow/filters/BufferNeeds.h>
#include <dshow/filters/Yuy2Converter.h>

#include <new>

namespace plat {

namespace {

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}};
const AMOVIESETUP_MEDIATYPE kOutTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}, {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24}};
const AMOVIESETUP_PIN kPins[] = {{L"XForm In", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kInTypes},
                                 {L"XForm Out", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 2, kOutTypes}};

const VIDEOINFOHEADER* info(const CMediaType* type) { return reinterpret_cast<const VIDEOINFOHEADER*>(type->Format()); }

bool isVideoInfo(const CMediaType* type) {
  return *type->Type() == MEDIATYPE_Video && *type->FormatType() == FORMAT_VideoInfo &&
         type->FormatLength() >= sizeof(VIDEOINFOHEADER) && type->Format();
}

}  // namespace

const AMOVIESETUP_FILTER AviDecompressor::kSetup = {&CLSID_AVIDec, L"AVI Decompressor", MERIT_NORMAL, 2, kPins};

AviDecompressor::AviDecompressor(LPUNKNOWN outer) : CTransformFilter("AVI Decompressor", outer, CLSID_AVIDec) {}

CUnknown* AviDecompressor::CreateInstance(LPUNKNOWN outer, HRESULT*) { return new (std::nothrow) AviDecompressor(outer); }

HRESULT AviDecompressor::CheckInputType(const CMediaType* mtIn) {
  if (!isVideoInfo(mtIn) || *mtIn->Subtype() != MEDIASUBTYPE_YUY2) return VFW_E_TYPE_NOT_ACCEPTED;
  const auto& header = info(mtIn)->bmiHeader;
  return header.biWidth > 0 && header.biWidth % 2 == 0 && header.biHeight != 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AviDecompressor::CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) {
  if (CheckInputType(mtIn) != S_OK || !isVideoInfo(mtOut)) return VFW_E_TYPE_NOT_ACCEPTED;
  const GUID& sub = *mtOut->Subtype();
  if (sub != MEDIASUBTYPE_RGB32 && sub != MEDIASUBTYPE_RGB24) return VFW_E_TYPE_NOT_ACCEPTED;
  const auto& in = info(mtIn)->bmiHeader;
  const auto& out = info(mtOut)->bmiHeader;
  const LONG inHeight = in.biHeight < 0 ? -in.biHeight : in.biHeight;
  const LONG outHeight = out.biHeight < 0 ? -out.biHeight : out.biHeight;
  return out.biWidth == in.biWidth && outHeight == inHeight && out.biBitCount == (sub == MEDIASUBTYPE_RGB32 ? 32 : 24)
             ? S_OK
             : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AviDecompressor::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 1) return VFW_S_NO_MORE_ITEMS;
  const CMediaType& in = m_pInput->CurrentMediaType();
  const auto* source = info(&in);
  const WORD bits = iPosition == 0 ? 32 : 24;
  *pMediaType = in;
  pMediaType->SetSubtype(iPosition == 0 ? &MEDIASUBTYPE_RGB32 : &MEDIASUBTYPE_RGB24);
  auto* target = reinterpret_cast<VIDEOINFOHEADER*>(pMediaType->Format());
  const LONG width = source->bmiHeader.biWidth;
  const LONG height = source->bmiHeader.biHeight < 0 ? -source->bmiHeader.biHeight : source->bmiHeader.biHeight;
  target->bmiHeader.biHeight = height;  // bottom-up
  target->bmiHeader.biBitCount = bits;
  target->bmiHeader.biCompression = BI_RGB;
  target->bmiHeader.biSizeImage = static_cast<DWORD>((width * bits + 31) / 32 * 4 * height);
  pMediaType->SetSampleSize(target->bmiHeader.biSizeImage);
  pMediaType->SetTemporalCompression(FALSE);
  return S_OK;
}

HRESULT AviDecompressor::DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) {
  return BufferNeeds::Ask(pAllocator, *pprop, 2,
                          static_cast<long>(info(&m_pOutput->CurrentMediaType())->bmiHeader.biSizeImage));
}

HRESULT AviDecompressor::Transform(IMediaSample* pIn, IMediaSample* pOut) {
  const auto& in = info(&m_pInput->CurrentMediaType())->bmiHeader;
  const auto& out = info(&m_pOutput->CurrentMediaType())->bmiHeader;
  const int width = in.biWidth;
  const int height = in.biHeight < 0 ? -in.biHeight : in.biHeight;
  const int bytes = out.biBitCount / 8;
  const int stride = (width * out.biBitCount + 31) / 32 * 4;
  if (pIn->GetActualDataLength() < width * height * 2 || pOut->GetSize() < stride * height) return E_FAIL;
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  pIn->GetPointer(&from);
  pOut->GetPointer(&to);
  for (int y = 0; y < height; ++y) {
    const BYTE* row = from + static_cast<size_t>(y) * static_cast<size_t>(width) * 2;
    BYTE* target = to + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(stride);
    Yuy2Converter::toBgr(row, width, target, bytes);
  }
  pOut->SetActualDataLength(stride * height);
  return S_OK;
}

}  // namespace plat
