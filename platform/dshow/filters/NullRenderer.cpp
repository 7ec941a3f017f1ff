#include <dshow/filters/NullRenderer.h>

#include <new>

namespace plat {

CUnknown* NullRenderer::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) NullRenderer(outer, phr); }

}  // namespace plat
