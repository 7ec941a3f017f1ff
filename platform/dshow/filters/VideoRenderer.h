// The old video renderer ("Video Renderer"): RGB pictures only, so YUY2 video reaches it
// through the AVI Decompressor.
#pragma once

#include <dshow/baseclasses/setup.h>
#include <dshow/filters/VideoRendererBase.h>

namespace plat {

class VideoRenderer : public VideoRendererBase {
 public:
  VideoRenderer(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;
};

}  // namespace plat
