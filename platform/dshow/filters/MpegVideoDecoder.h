// The platform's MPEG video decoder: MPEG-1 and MPEG-2 video in, pictures out as YUY2
// or 32-bit RGB (bottom-up) of the stream's size. Pictures without a time of their own
// follow the one before by a frame's duration. Makers' decoders build on it under their
// own CLSID.
#pragma once

#include <dshow/baseclasses/setup.h>
#include <dshow/filters/CodecFilter.h>

struct SwsContext;

namespace plat {

class MpegVideoDecoder : public CodecFilter {
 public:
  MpegVideoDecoder(const char* name, LPUNKNOWN outer, REFCLSID clsid);
  ~MpegVideoDecoder() override;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;
  // The input and output types of its registration, for makers' decoders to reuse.
  static const AMOVIESETUP_PIN kPins[2];

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) override;
  HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT StopStreaming() override;

 protected:
  int codecFor(const CMediaType& input) override;
  HRESULT deliverFrame(const AVFrame& frame, const REFERENCE_TIME* start) override;

 private:
  // Converts the picture into the output buffer in the connected output format.
  bool convert(const AVFrame& frame, BYTE* out);

  SwsContext* m_scaler = nullptr;
};

}  // namespace plat
