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
