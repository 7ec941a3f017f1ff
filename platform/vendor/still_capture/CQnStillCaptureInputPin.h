// The still capture filter's input "Input": takes YUY2, RGB24 and RGB32 video and hands
// each sample the base checks let through to the filter.
#pragma once

#include <dshow/baseclasses/streams.h>

class CQnStillCaptureFilter;

class CQnStillCaptureInputPin : public CBaseInputPin {
 public:
  CQnStillCaptureInputPin(CQnStillCaptureFilter* filter, CCritSec* lock, HRESULT* phr);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  STDMETHODIMP Receive(IMediaSample* pSample) override;

 private:
  CQnStillCaptureFilter* m_filter;
};
