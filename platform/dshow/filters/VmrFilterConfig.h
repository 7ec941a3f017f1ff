// The configuration both mixing renderers answer, for either of their interfaces
// (IVMRFilterConfig or IVMRFilterConfig9, whose compositor types differ): windowed mode
// only, as there is no other surface to render to here; the stream count (1 to 16) and
// the rendering preferences are recorded. The renderer supplies IUnknown.
#pragma once

#include <dshow/baseclasses/checks.h>
#include <dshow/vmr.h>

namespace plat {

template <class Config, class Compositor, DWORD kWindowed>
class VmrFilterConfig : public Config {
 public:
  STDMETHODIMP SetImageCompositor(Compositor*) override { return E_NOTIMPL; }
  STDMETHODIMP SetNumberOfStreams(DWORD dwMaxStreams) override {
    if (dwMaxStreams == 0 || dwMaxStreams > 16) return E_INVALIDARG;
    m_streams = dwMaxStreams;
    return S_OK;
  }
  STDMETHODIMP GetNumberOfStreams(DWORD* pdwMaxStreams) override {
    CheckPointer(pdwMaxStreams, E_POINTER);
    *pdwMaxStreams = m_streams;
    return S_OK;
  }
  STDMETHODIMP SetRenderingPrefs(DWORD dwRenderFlags) override {
    m_prefs = dwRenderFlags;
    return S_OK;
  }
  STDMETHODIMP GetRenderingPrefs(DWORD* pdwRenderFlags) override {
    CheckPointer(pdwRenderFlags, E_POINTER);
    *pdwRenderFlags = m_prefs;
    return S_OK;
  }
  STDMETHODIMP SetRenderingMode(DWORD Mode) override {
    if (Mode != kWindowed) return E_INVALIDARG;
    m_mode = Mode;
    return S_OK;
  }
  STDMETHODIMP GetRenderingMode(DWORD* pMode) override {
    CheckPointer(pMode, E_POINTER);
    *pMode = m_mode;
    return S_OK;
  }

 protected:
  ~VmrFilterConfig() = default;

 private:
  DWORD m_streams = 0;
  DWORD m_prefs = 0;
  DWORD m_mode = kWindowed;
};

}  // namespace plat
