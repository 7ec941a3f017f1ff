// The platform's MPEG audio decoder: MPEG-1/2 audio layers I to III in, 16-bit PCM out
// at the stream's rate and channels (at most two). Makers' decoders build on it under
// their own CLSID.
#pragma once

#include <dshow/amaudio.h>
#include <dshow/baseclasses/setup.h>
#include <dshow/filters/CodecFilter.h>

namespace plat {

class MpegAudioDecoder : public CodecFilter {
 public:
  MpegAudioDecoder(const char* name, LPUNKNOWN outer, REFCLSID clsid);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;
  // The input and output types of its registration, for makers' decoders to reuse.
  static const AMOVIESETUP_PIN kPins[2];
  // 16-bit PCM at the rate and channels of `in`: what the platform's sound decoders give.
  static void pcmTypeFor(const WAVEFORMATEX& in, CMediaType* type);

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) override;
  HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;

 protected:
  int codecFor(const CMediaType& input) override;
  HRESULT deliverFrame(const AVFrame& frame, const REFERENCE_TIME* start) override;
};

}  // namespace plat
