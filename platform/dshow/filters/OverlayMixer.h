// The Overlay Mixer: its input "Input0" (with IMixerPinConfig: position, z-order,
// colour key, aspect ratio) passes the video to its "Output" for the renderer
// unchanged; the overlay itself is drawn by the renderer's surface.
#pragma once

#include <dshow/baseclasses/CTransformFilter.h>
#include <dshow/baseclasses/setup.h>

namespace plat {

class OverlayMixer : public CTransformFilter {
 public:
  explicit OverlayMixer(LPUNKNOWN outer);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) override;
  HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut) override;

 protected:
  CTransformInputPin* MakeInputPin() override;
  CTransformOutputPin* MakeOutputPin() override;

 private:
  class InputPin;
};

}  // namespace plat
