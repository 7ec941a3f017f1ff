// The AVI Decompressor: turns YUY2 pictures into RGB32 or RGB24 ones (bottom-up DIBs of
// the same size) for renderers that take RGB only.
#pragma once

#include <dshow/baseclasses/CTransformFilter.h>
#include <dshow/baseclasses/setup.h>

namespace plat {

class AviDecompressor : public CTransformFilter {
 public:
  explicit AviDecompressor(LPUNKNOWN outer);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) override;
  HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut) override;
};

}  // namespace plat
