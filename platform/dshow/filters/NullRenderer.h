// The Null Renderer: takes any stream and discards it, on the clock like any renderer.
#pragma once

#include <dshow/filters/RendererBase.h>

namespace plat {

class NullRenderer : public RendererBase {
 public:
  NullRenderer(LPUNKNOWN outer, HRESULT* phr) : RendererBase("Null renderer", outer, CLSID_NullRenderer, phr, L"In") {}
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  HRESULT CheckMediaType(const CMediaType*) override { return S_OK; }
  HRESULT render(IMediaSample*) override { return S_OK; }
};

}  // namespace plat
