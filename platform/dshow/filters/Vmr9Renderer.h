// The Video Mixing Renderer 9 ("Video Mixer Renderer"): YUY2 and RGB pictures and
// IVMRFilterConfig9 (windowed mode only here). Not picked by intelligent connect.
#pragma once

#include <dshow/baseclasses/setup.h>
#include <dshow/filters/VideoRendererBase.h>
#include <dshow/filters/VmrFilterConfig.h>
#include <dshow/vmr.h>

namespace plat {

class Vmr9Renderer : public VideoRendererBase,
                     public VmrFilterConfig<IVMRFilterConfig9, IVMRImageCompositor9, VMR9Mode_Windowed> {
 public:
  Vmr9Renderer(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
};

}  // namespace plat
