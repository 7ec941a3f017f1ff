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

}  // namespace plat
