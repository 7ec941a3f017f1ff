#include <dshow/filters/DefaultVideoRenderer.h>

#include <new>

namespace plat {

namespace {
const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {{L"VMR Input0", TRUE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kTypes}};
}  // namespace

const AMOVIESETUP_FILTER DefaultVideoRenderer::kSetup = {&CLSID_VideoRendererDefault, L"Video Renderer", MERIT_PREFERRED,
                                                         1, kPins};

DefaultVideoRenderer::DefaultVideoRenderer(LPUNKNOWN outer, HRESULT* phr)
    : VideoRendererBase("Default video renderer", outer, CLSID_VideoRendererDefault, phr,
                        {MEDIASUBTYPE_YUY2, MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24}) {}

CUnknown* DefaultVideoRenderer::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) DefaultVideoRenderer(outer, phr);
}

STDMETHODIMP DefaultVideoRenderer::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IVMRFilterConfig) return GetInterface(static_cast<IVMRFilterConfig*>(this), ppv);
  if (riid == IID_IVMRAspectRatioControl) return GetInterface(static_cast<IVMRAspectRatioControl*>(this), ppv);
  return VideoRendererBase::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP DefaultVideoRenderer::SetImageCompositor(IVMRImageCompositor*) { return E_NOTIMPL; }

STDMETHODIMP DefaultVideoRenderer::SetNumberOfStreams(DWORD dwMaxStreams) {
  if (dwMaxStreams == 0 || dwMaxStreams > 16) return E_INVALIDARG;
  m_streams = dwMaxStreams;
  return S_OK;
}

STDMETHODIMP DefaultVideoRenderer::GetNumberOfStreams(DWORD* pdwMaxStreams) {
  CheckPointer(pdwMaxStreams, E_POINTER);
  *pdwMaxStreams = m_streams;
  return S_OK;
}

STDMETHODIMP DefaultVideoRenderer::SetRenderingPrefs(DWORD dwRenderFlags) {
  m_prefs = dwRenderFlags;
  return S_OK;
}

STDMETHODIMP DefaultVideoRenderer::GetRenderingPrefs(DWORD* pdwRenderFlags) {
  CheckPointer(pdwRenderFlags, E_POINTER);
  *pdwRenderFlags = m_prefs;
  return S_OK;
}

STDMETHODIMP DefaultVideoRenderer::SetRenderingMode(DWORD Mode) {
  // Only a window of its own: there is no other surface to render to here.
  if (Mode != VMRMode_Windowed) return E_INVALIDARG;
  m_mode = Mode;
  return S_OK;
}

STDMETHODIMP DefaultVideoRenderer::GetRenderingMode(DWORD* pMode) {
  CheckPointer(pMode, E_POINTER);
  *pMode = m_mode;
  return S_OK;
}

STDMETHODIMP DefaultVideoRenderer::GetAspectRatioMode(LPDWORD lpdwARMode) {
  CheckPointer(lpdwARMode, E_POINTER);
  *lpdwARMode = m_aspect;
  return S_OK;
}

STDMETHODIMP DefaultVideoRenderer::SetAspectRatioMode(DWORD dwARMode) {
  if (dwARMode != VMR_ARMODE_NONE && dwARMode != VMR_ARMODE_LETTER_BOX) return E_INVALIDARG;
  m_aspect = dwARMode;
  return S_OK;
}

}  // namespace plat
