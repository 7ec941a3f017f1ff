// The platform's Motion JPEG decompressor: 'MJPG' pictures in (each a JPEG of its own, as
// the Motion JPEG compressor writes them into AVI files), pictures out as the MPEG video
// decoder gives them, YUY2 or 32-bit RGB of the stream's size. Only the codec differs:
// decoding and conversion are the MPEG decoder's.
#pragma once

#include <dshow/filters/MpegVideoDecoder.h>

namespace plat {

class MjpegDecompressor : public MpegVideoDecoder {
 public:
  explicit MjpegDecompressor(LPUNKNOWN outer);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;

  HRESULT CheckInputType(const CMediaType* mtIn) override;

 protected:
  int codecFor(const CMediaType& input) override;
};

}  // namespace plat
