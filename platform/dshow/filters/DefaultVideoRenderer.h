// The default video renderer of the Windows versions the system runs on (the Video
// Mixing Renderer 7): YUY2 and RGB pictures; IVMRFilterConfig (windowed mode only here,
// rendering preferences and stream count recorded) and IVMRAspectRatioControl.
#pragma once

#include <dshow/baseclasses/setup.h>
#include <dshow/filters/VideoRendererBase.h>
#include <dshow/vmr.h>

namespace plat {

class DefaultVideoRenderer : public VideoRendererBase, public IVMRFilterConfig, public IVMRAspectRatioControl {
 public:
  DefaultVideoRenderer(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // IVMRFilterConfig
  STDMETHODIMP SetImageCompositor(IVMRImageCompositor* lpVMRImgCompositor) override;
  STDMETHODIMP SetNumberOfStreams(DWORD dwMaxStreams) override;
  STDMETHODIMP GetNumberOfStreams(DWORD* pdwMaxStreams) override;
  STDMETHODIMP SetRenderingPrefs(DWORD dwRenderFlags) override;
  STDMETHODIMP GetRenderingPrefs(DWORD* pdwRenderFlags) override;
  STDMETHODIMP SetRenderingMode(DWORD Mode) override;
  STDMETHODIMP GetRenderingMode(DWORD* pMode) override;
  // IVMRAspectRatioControl
  STDMETHODIMP GetAspectRatioMode(LPDWORD lpdwARMode) override;
  STDMETHODIMP SetAspectRatioMode(DWORD dwARMode) override;

 private:
  DWORD m_streams = 0;
  DWORD m_prefs = 0;
  DWORD m_mode = VMRMode_Windowed;
  DWORD m_aspect = VMR_ARMODE_NONE;
};

}  // namespace plat
