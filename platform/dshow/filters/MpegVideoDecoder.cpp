#include <dshow/filters/MpegVideoDecoder.h>

#include <dshow/amvideo.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/baseclasses/CTransformOutputPin.h>
#include <dshow/filters/BufferNeeds.h>
#include <dshow/filters/Yuy2Converter.h>
#include <dshow/mediafiles.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdlib>
#include <new>

namespace plat {

namespace {

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_MPEG1Payload},
                                          {&MEDIATYPE_Video, &MEDIASUBTYPE_MPEG2_VIDEO}};
const AMOVIESETUP_MEDIATYPE kOutTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}, {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}};
constexpr REFERENCE_TIME kDefaultFrame = 400'000;  // 25 pictures a second

const VIDEOINFOHEADER* videoInfo(const CMediaType& type) {
  if (*type.FormatType() != FORMAT_VideoInfo || type.FormatLength() < sizeof(VIDEOINFOHEADER) || !type.Format())
    return nullptr;
  return reinterpret_cast<const VIDEOINFOHEADER*>(type.Format());
}

}  // namespace

const AMOVIESETUP_PIN MpegVideoDecoder::kPins[2] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 2, kInTypes},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 2, kOutTypes}};

const AMOVIESETUP_FILTER MpegVideoDecoder::kSetup = {&CLSID_CMpegVideoCodec, L"MPEG Video Decoder", MERIT_NORMAL, 2,
                                                     kPins};

MpegVideoDecoder::MpegVideoDecoder(const char* name, LPUNKNOWN outer, REFCLSID clsid) : CodecFilter(name, outer, clsid) {}

MpegVideoDecoder::~MpegVideoDecoder() { MpegVideoDecoder::StopStreaming(); }

CUnknown* MpegVideoDecoder::CreateInstance(LPUNKNOWN outer, HRESULT*) {
  return new (std::nothrow) MpegVideoDecoder("MPEG video decoder", outer, CLSID_CMpegVideoCodec);
}

HRESULT MpegVideoDecoder::CheckInputType(const CMediaType* mtIn) {
  if (*mtIn->Type() != MEDIATYPE_Video) return VFW_E_TYPE_NOT_ACCEPTED;
  if (*mtIn->Subtype() != MEDIASUBTYPE_MPEG1Payload && *mtIn->Subtype() != MEDIASUBTYPE_MPEG2_VIDEO)
    return VFW_E_TYPE_NOT_ACCEPTED;
  const VIDEOINFOHEADER* info = videoInfo(*mtIn);
  return info && info->bmiHeader.biWidth > 0 && info->bmiHeader.biHeight > 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT MpegVideoDecoder::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (!m_pInput->IsConnected()) return E_UNEXPECTED;
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 1) return VFW_S_NO_MORE_ITEMS;
  const VIDEOINFOHEADER& in = *videoInfo(inputType());
  const bool yuy2 = iPosition == 0;
  VIDEOINFOHEADER out{};
  out.AvgTimePerFrame = in.AvgTimePerFrame;
  out.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  out.bmiHeader.biWidth = in.bmiHeader.biWidth;
  out.bmiHeader.biHeight = in.bmiHeader.biHeight;
  out.bmiHeader.biPlanes = 1;
  out.bmiHeader.biBitCount = yuy2 ? 16 : 32;
  out.bmiHeader.biCompression = yuy2 ? MAKEFOURCC('Y', 'U', 'Y', '2') : BI_RGB;
  out.bmiHeader.biSizeImage = in.bmiHeader.biWidth * in.bmiHeader.biHeight * out.bmiHeader.biBitCount / 8;
  pMediaType->InitMediaType();
  pMediaType->SetType(&MEDIATYPE_Video);
  pMediaType->SetSubtype(yuy2 ? &MEDIASUBTYPE_YUY2 : &MEDIASUBTYPE_RGB32);
  pMediaType->SetFormatType(&FORMAT_VideoInfo);
  pMediaType->SetFormat(reinterpret_cast<const BYTE*>(&out), sizeof(out));
  pMediaType->SetSampleSize(out.bmiHeader.biSizeImage);
  return S_OK;
}

HRESULT MpegVideoDecoder::CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) {
  if (*mtOut->Type() != MEDIATYPE_Video) return VFW_E_TYPE_NOT_ACCEPTED;
  if (*mtOut->Subtype() != MEDIASUBTYPE_YUY2 && *mtOut->Subtype() != MEDIASUBTYPE_RGB32) return VFW_E_TYPE_NOT_ACCEPTED;
  const VIDEOINFOHEADER* in = videoInfo(*mtIn);
  const VIDEOINFOHEADER* out = videoInfo(*mtOut);
  if (!in || !out) return VFW_E_TYPE_NOT_ACCEPTED;
  const bool sameSize = out->bmiHeader.biWidth == in->bmiHeader.biWidth &&
                        std::abs(out->bmiHeader.biHeight) == in->bmiHeader.biHeight;
  return sameSize ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT MpegVideoDecoder::DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) {
  const VIDEOINFOHEADER* out = videoInfo(m_pOutput->CurrentMediaType());
  if (!out) return E_UNEXPECTED;
  const long bytes = std::max<long>(pprop->cbBuffer, static_cast<long>(out->bmiHeader.biSizeImage));
  return BufferNeeds::Ask(pAllocator, *pprop, 3, bytes);
}

HRESULT MpegVideoDecoder::StopStreaming() {
  sws_freeContext(m_scaler);
  m_scaler = nullptr;
  return CodecFilter::StopStreaming();
}

int MpegVideoDecoder::codecFor(const CMediaType& input) {
  return *input.Subtype() == MEDIASUBTYPE_MPEG1Payload ? AV_CODEC_ID_MPEG1VIDEO : AV_CODEC_ID_MPEG2VIDEO;
}

bool MpegVideoDecoder::convert(const AVFrame& frame, BYTE* out) {
  const CMediaType& type = m_pOutput->CurrentMediaType();
  const VIDEOINFOHEADER& info = *videoInfo(type);
  const int width = info.bmiHeader.biWidth;
  const int height = std::abs(info.bmiHeader.biHeight);
  const bool yuy2 = *type.Subtype() == MEDIASUBTYPE_YUY2;
  const bool unscaled = yuy2 && frame.width == width && frame.height == height;
  // The common picture, 4:2:0 into YUY2 of its own size, is interleaved here, each chroma
  // row serving two picture rows: at about the cost of a copy, half libswscale's.
  if (unscaled && frame.format == AV_PIX_FMT_YUV420P && width % 2 == 0) {
    for (int y = 0; y < height; ++y)
      Yuy2Converter::fromPlanes(frame.data[0] + static_cast<ptrdiff_t>(y) * frame.linesize[0],
                                frame.data[1] + static_cast<ptrdiff_t>(y / 2) * frame.linesize[1],
                                frame.data[2] + static_cast<ptrdiff_t>(y / 2) * frame.linesize[2], width,
                                out + static_cast<ptrdiff_t>(y) * width * 2);
    return true;
  }
  // Other YUY2 of the decoded size takes libswscale's unscaled path, which it keeps to
  // point sampling: the filtered path costs several times more.
  m_scaler = sws_getCachedContext(m_scaler, frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), width,
                                  height, yuy2 ? AV_PIX_FMT_YUYV422 : AV_PIX_FMT_BGRA,
                                  unscaled ? SWS_POINT : SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!m_scaler) return false;
  int stride = width * (yuy2 ? 2 : 4);
  uint8_t* target = out;
  // Positive heights are bottom-up RGB: write the last row first.
  if (!yuy2 && info.bmiHeader.biHeight > 0) {
    target = out + static_cast<ptrdiff_t>(stride) * (height - 1);
    stride = -stride;
  }
  uint8_t* planes[4] = {target, nullptr, nullptr, nullptr};
  int strides[4] = {stride, 0, 0, 0};
  return sws_scale(m_scaler, frame.data, frame.linesize, 0, frame.height, planes, strides) == height;
}

HRESULT MpegVideoDecoder::deliverFrame(const AVFrame& frame, const REFERENCE_TIME* start) {
  const VIDEOINFOHEADER& info = *videoInfo(m_pOutput->CurrentMediaType());
  const REFERENCE_TIME length = info.AvgTimePerFrame > 0 ? info.AvgTimePerFrame : kDefaultFrame;
  REFERENCE_TIME from = start ? *start : m_next;
  REFERENCE_TIME to = from + length;
  m_next = to;
  if (to <= 0) return S_OK;  // decoded only to reach the seek position
  return deliverFilled(from, to, [&](BYTE* data, long) -> long {
    // A picture that cannot be converted is left out.
    return convert(frame, data) ? static_cast<long>(info.bmiHeader.biSizeImage) : -1;
  });
}

}  // namespace plat
