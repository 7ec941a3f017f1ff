// The video invert filter: every byte of the picture becomes its complement, in place.
// On RGB that is the photographic negative; on YUY2 it inverts brightness and mirrors
// both colour differences around grey, which is the same negative.
#pragma once

#include <dshow/baseclasses/streams.h>

class CInvertFilter : public CTransInPlaceFilter {
 public:
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT Transform(IMediaSample* pSample) override;

 private:
  CInvertFilter(LPUNKNOWN pUnk, HRESULT* phr);
};
