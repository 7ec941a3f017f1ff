#include <dshow/filters/MjpegCompressor.h>

#include <dshow/amvideo.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/baseclasses/CTransformOutputPin.h>
#include <dshow/filters/BufferNeeds.h>
#include <dshow/uuids.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

#include <cstring>
#include <new>

namespace plat {

namespace {

constexpr DWORD kMjpgFourcc = MAKEFOURCC('M', 'J', 'P', 'G');
constexpr int kQuality = 4;  // JPEG quantiser scale: small files that still look like the picture

const VIDEOINFOHEADER* Info(const CMediaType* type) { return reinterpret_cast<const VIDEOINFOHEADER*>(type->Format()); }

bool IsVideoInfo(const CMediaType* type) {
  return *type->Type() == MEDIATYPE_Video && *type->FormatType() == FORMAT_VideoInfo && type->Format() &&
         type->FormatLength() >= sizeof(VIDEOINFOHEADER);
}

LONG Height(const BITMAPINFOHEADER& header) { return header.biHeight < 0 ? -header.biHeight : header.biHeight; }

}  // namespace

MjpegCompressor::MjpegCompressor(LPUNKNOWN outer) : CTransformFilter("Motion JPEG Compressor", outer, CLSID_MjpegCompressor) {}

MjpegCompressor::~MjpegCompressor() { release(); }

CUnknown* MjpegCompressor::CreateInstance(LPUNKNOWN outer, HRESULT*) { return new (std::nothrow) MjpegCompressor(outer); }

HRESULT MjpegCompressor::CheckInputType(const CMediaType* mtIn) {
  if (!IsVideoInfo(mtIn) || *mtIn->Subtype() != MEDIASUBTYPE_YUY2) return VFW_E_TYPE_NOT_ACCEPTED;
  const auto& header = Info(mtIn)->bmiHeader;
  return header.biWidth > 0 && header.biWidth % 2 == 0 && header.biHeight != 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT MjpegCompressor::CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) {
  if (CheckInputType(mtIn) != S_OK || !IsVideoInfo(mtOut) || *mtOut->Subtype() != MEDIASUBTYPE_MJPG)
    return VFW_E_TYPE_NOT_ACCEPTED;
  const auto& in = Info(mtIn)->bmiHeader;
  const auto& out = Info(mtOut)->bmiHeader;
  return out.biWidth == in.biWidth && Height(out) == Height(in) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT MjpegCompressor::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  *pMediaType = m_pInput->CurrentMediaType();
  pMediaType->SetSubtype(&MEDIASUBTYPE_MJPG);
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(pMediaType->Format());
  info->bmiHeader.biHeight = Height(info->bmiHeader);
  info->bmiHeader.biBitCount = 24;
  info->bmiHeader.biCompression = kMjpgFourcc;
  info->bmiHeader.biSizeImage = static_cast<DWORD>(info->bmiHeader.biWidth * info->bmiHeader.biHeight * 3);
  pMediaType->SetVariableSize();
  pMediaType->SetTemporalCompression(FALSE);
  return S_OK;
}

HRESULT MjpegCompressor::DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) {
  return BufferNeeds::Ask(pAllocator, *pprop, 2,
                          static_cast<long>(Info(&m_pOutput->CurrentMediaType())->bmiHeader.biSizeImage));
}

HRESULT MjpegCompressor::StartStreaming() {
  release();
  const auto& header = Info(&m_pInput->CurrentMediaType())->bmiHeader;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
  if (!codec) return E_FAIL;
  m_codec = avcodec_alloc_context3(codec);
  m_picture = av_frame_alloc();
  m_packet = av_packet_alloc();
  if (!m_codec || !m_picture || !m_packet) return E_OUTOFMEMORY;
  m_codec->width = header.biWidth;
  m_codec->height = Height(header);
  m_codec->pix_fmt = AV_PIX_FMT_YUVJ422P;
  m_codec->time_base = {1, 25};
  m_codec->flags |= AV_CODEC_FLAG_QSCALE;
  m_codec->global_quality = FF_QP2LAMBDA * kQuality;
  if (avcodec_open2(m_codec, codec, nullptr) < 0) return E_FAIL;
  m_picture->format = m_codec->pix_fmt;
  m_picture->width = m_codec->width;
  m_picture->height = m_codec->height;
  if (av_frame_get_buffer(m_picture, 0) < 0) return E_OUTOFMEMORY;
  m_converter = sws_getContext(m_codec->width, m_codec->height, AV_PIX_FMT_YUYV422, m_codec->width, m_codec->height,
                               AV_PIX_FMT_YUVJ422P, SWS_POINT, nullptr, nullptr, nullptr);
  return m_converter ? S_OK : E_FAIL;
}

HRESULT MjpegCompressor::StopStreaming() {
  release();
  return S_OK;
}

void MjpegCompressor::release() {
  sws_freeContext(m_converter);
  m_converter = nullptr;
  av_packet_free(&m_packet);
  av_frame_free(&m_picture);
  avcodec_free_context(&m_codec);
}

HRESULT MjpegCompressor::Transform(IMediaSample* pIn, IMediaSample* pOut) {
  if (!m_codec) return E_UNEXPECTED;
  BYTE* in = nullptr;
  BYTE* out = nullptr;
  pIn->GetPointer(&in);
  pOut->GetPointer(&out);
  if (pIn->GetActualDataLength() < m_codec->width * m_codec->height * 2) return E_INVALIDARG;
  if (av_frame_make_writable(m_picture) < 0) return E_OUTOFMEMORY;
  const uint8_t* planes[1] = {in};
  const int strides[1] = {m_codec->width * 2};
  sws_scale(m_converter, planes, strides, 0, m_codec->height, m_picture->data, m_picture->linesize);
  if (avcodec_send_frame(m_codec, m_picture) < 0 || avcodec_receive_packet(m_codec, m_packet) < 0) return E_FAIL;
  const bool fits = m_packet->size <= pOut->GetSize();
  if (fits) std::memcpy(out, m_packet->data, static_cast<size_t>(m_packet->size));
  pOut->SetActualDataLength(fits ? m_packet->size : 0);
  av_packet_unref(m_packet);
  pOut->SetSyncPoint(TRUE);
  return fits ? S_OK : E_FAIL;
}

}  // namespace plat
