// The deinterlacer: every picture line becomes the average of itself and the line below,
// so the two fields of an interlaced frame are blended and combing disappears. Works in
// place on packed YUY2 and on RGB24/RGB32 pictures (bytes of one kind line up from row
// to row in all three). Where the picture must not be changed in place (a read-only
// buffer behind a tee), the blend writes straight into the output buffer instead of
// copying the picture there first.
#pragma once

#include <dshow/baseclasses/streams.h>

class CFieldBlendFilter : public CTransInPlaceFilter {
 public:
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT Transform(IMediaSample* pSample) override;
  HRESULT Receive(IMediaSample* pSample) override;

 private:
  CFieldBlendFilter(LPUNKNOWN pUnk, HRESULT* phr);
  // Bytes a picture row takes, and the whole rows the sample holds.
  long Stride() const;
  long Rows(IMediaSample* pSample) const;
};
