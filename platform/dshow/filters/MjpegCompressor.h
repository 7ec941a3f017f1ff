// The Motion JPEG video compressor: turns YUY2 pictures into one JPEG picture each
// ('MJPG', every picture a key frame), encoded with libavcodec. Offered in the video
// compressor category; never inserted by intelligent connect.
#pragma once

#include <dshow/baseclasses/CTransformFilter.h>
#include <dshow/mediafiles.h>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

// {6A1C4D31-2E5F-4B7A-9C8D-0E1F2A3B4C51}
DEFINE_GUID(CLSID_MjpegCompressor, 0x6A1C4D31, 0x2E5F, 0x4B7A, 0x9C, 0x8D, 0x0E, 0x1F, 0x2A, 0x3B, 0x4C, 0x51);

namespace plat {

class MjpegCompressor : public CTransformFilter {
 public:
  static constexpr const wchar_t* kName = L"Motion JPEG Compressor";

  explicit MjpegCompressor(LPUNKNOWN outer);
  ~MjpegCompressor() override;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) override;
  HRESULT StartStreaming() override;
  HRESULT StopStreaming() override;
  HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut) override;

 private:
  void release();

  AVCodecContext* m_codec = nullptr;
  AVFrame* m_picture = nullptr;
  AVPacket* m_packet = nullptr;
  SwsContext* m_converter = nullptr;
};

}  // namespace plat
