// The Video Mixing Renderer 9 ("Video Mixer Renderer"): YUY2 and RGB pictures and
// IVMRFilterConfig9 (windowed mode only here). Not picked by intelligent connect.
#pragma once

#include <dshow/baseclasses/setup.h>
#include <dshow/filters/VideoRendererBase.h>
#include <dshow/vmr.h>

namespace plat {

class Vmr9Renderer : public VideoRendererBase, public IVMRFilterConfig9 {
 public:
  Vmr9Renderer(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP SetImageCompositor(IVMRImageCompositor9* lpVMRImgCompositor) override;
  STDMETHODIMP SetNumberOfStreams(DWORD dwMaxStreams) override;
  STDMETHODIMP GetNumberOfStreams(DWORD* pdwMaxStreams) override;
  STDMETHODIMP SetRenderingPrefs(DWORD dwRenderFlags) override;
  STDMETHODIMP GetRenderingPrefs(DWORD* pdwRenderFlags) override;
  STDMETHODIMP SetRenderingMode(DWORD Mode) override;
  STDMETHODIMP GetRenderingMode(DWORD* pMode) override;

 private:
  DWORD m_streams = 0;
  DWORD m_prefs = 0;
  DWORD m_mode = VMR9Mode_Windowed;
};

}  // namespace plat
