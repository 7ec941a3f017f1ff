// The default video renderer of the Windows versions the system runs on (the Video
// Mixing Renderer 7): YUY2 and RGB pictures; IVMRFilterConfig (windowed mode only here,
// rendering preferences and stream count recorded) and IVMRAspectRatioControl.
#pragma once

#include <dshow/baseclasses/setup.h>
#include <dshow/filters/VideoRendererBase.h>
#include <dshow/filters/VmrFilterConfig.h>
#include <dshow/vmr.h>

namespace plat {

class DefaultVideoRenderer : public VideoRendererBase,
                             public VmrFilterConfig<IVMRFilterConfig, IVMRImageCompositor, VMRMode_Windowed>,
                             public IVMRAspectRatioControl {
 public:
  DefaultVideoRenderer(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // IVMRAspectRatioControl
  STDMETHODIMP GetAspectRatioMode(LPDWORD lpdwARMode) override;
  STDMETHODIMP SetAspectRatioMode(DWORD dwARMode) override;

 private:
  DWORD m_aspect = VMR_ARMODE_NONE;
};

}  // namespace plat
