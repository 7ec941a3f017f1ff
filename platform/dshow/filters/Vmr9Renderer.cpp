#include <dshow/filters/Vmr9Renderer.h>

#include <new>

namespace plat {

Vmr9Renderer::Vmr9Renderer(LPUNKNOWN outer, HRESULT* phr)
    : VideoRendererBase("Video mixing renderer 9", outer, CLSID_VideoMixingRenderer9, phr,
                        {MEDIASUBTYPE_YUY2, MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24}) {}

CUnknown* Vmr9Renderer::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) Vmr9Renderer(outer, phr); }

STDMETHODIMP Vmr9Renderer::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IVMRFilterConfig9) return GetInterface(static_cast<IVMRFilterConfig9*>(this), ppv);
  return VideoRendererBase::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP Vmr9Renderer::SetImageCompositor(IVMRImageCompositor9*) { return E_NOTIMPL; }

STDMETHODIMP Vmr9Renderer::SetNumberOfStreams(DWORD dwMaxStreams) {
  if (dwMaxStreams == 0 || dwMaxStreams > 16) return E_INVALIDARG;
  m_streams = dwMaxStreams;
  return S_OK;
}

STDMETHODIMP Vmr9Renderer::GetNumberOfStreams(DWORD* pdwMaxStreams) {
  CheckPointer(pdwMaxStreams, E_POINTER);
  *pdwMaxStreams = m_streams;
  return S_OK;
}

STDMETHODIMP Vmr9Renderer::SetRenderingPrefs(DWORD dwRenderFlags) {
  m_prefs = dwRenderFlags;
  return S_OK;
}

STDMETHODIMP Vmr9Renderer::GetRenderingPrefs(DWORD* pdwRenderFlags) {
  CheckPointer(pdwRenderFlags, E_POINTER);
  *pdwRenderFlags = m_prefs;
  return S_OK;
}

STDMETHODIMP Vmr9Renderer::SetRenderingMode(DWORD Mode) {
  if (Mode != VMR9Mode_Windowed) return E_INVALIDARG;
  m_mode = Mode;
  return S_OK;
}

STDMETHODIMP Vmr9Renderer::GetRenderingMode(DWORD* pMode) {
  CheckPointer(pMode, E_POINTER);
  *pMode = m_mode;
  return S_OK;
}

}  // namespace plat
