// The A-law decompressor, under the audio codec wrapper's CLSID as the platform has it:
// 8-bit G.711 A-law in (as the A-law compressor writes it into AVI files), 16-bit PCM
// out at the same rate and channels, two bytes for each byte, with the same times.
#pragma once

#include <dshow/baseclasses/CTransformFilter.h>
#include <dshow/baseclasses/setup.h>

namespace plat {

class AlawDecompressor : public CTransformFilter {
 public:
  explicit AlawDecompressor(LPUNKNOWN outer);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) override;
  HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut) override;

  // One sample: the middle of the span its code stands for, on the 16-bit scale.
  static short decode(BYTE alaw);

 protected:
  // A decoder's output pin: seeking passes through to the parser.
  CTransformOutputPin* MakeOutputPin() override;
};

}  // namespace plat
