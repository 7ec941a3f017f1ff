// The deinterlacer: every picture line becomes the average of itself and the line below,
// so the two fields of an interlaced frame are blended and combing disappears. Works in
// place on packed YUY2 and on RGB24/RGB32 pictures (bytes of one kind line up from row
// to row in all three).
#pragma once

#include <dshow/baseclasses/streams.h>

class CFieldBlendFilter : public CTransInPlaceFilter {
 public:
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT Transform(IMediaSample* pSample) override;

 private:
  CFieldBlendFilter(LPUNKNOWN pUnk, HRESULT* phr);
};
