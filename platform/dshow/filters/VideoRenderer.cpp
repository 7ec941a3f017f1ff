#include <dshow/filters/VideoRenderer.h>

#include <new>

namespace plat {

namespace {
const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}, {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24}};
const AMOVIESETUP_PIN kPins[] = {{L"Input", TRUE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 2, kTypes}};
}  // namespace

const AMOVIESETUP_FILTER VideoRenderer::kSetup = {&CLSID_VideoRenderer, L"Video Renderer", MERIT_NORMAL, 1, kPins};

VideoRenderer::VideoRenderer(LPUNKNOWN outer, HRESULT* phr)
    : VideoRendererBase("Video renderer", outer, CLSID_VideoRenderer, phr, {MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24}) {}

CUnknown* VideoRenderer::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) VideoRenderer(outer, phr); }

}  // namespace plat
