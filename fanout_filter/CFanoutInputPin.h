// The fan-out filter's input. It accepts a type only when every connected output's
// downstream pin accepts it too, keeps the allocator upstream chooses so the outputs can
// hand it on, and passes every sample, end of stream, flush and new segment to all the
// outputs in list order.
#pragma once

#include <dshow/baseclasses/CBaseInputPin.h>

class CFanoutFilter;

class CFanoutInputPin : public CBaseInputPin {
 public:
  CFanoutInputPin(const char* pObjectName, CFanoutFilter* pFanout, HRESULT* phr, LPCWSTR pName);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT SetMediaType(const CMediaType* pmt) override;
  HRESULT BreakConnect() override;

  STDMETHODIMP NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
  STDMETHODIMP Receive(IMediaSample* pSample) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

 private:
  CFanoutFilter* m_pFanout;
  // Set while the type is being checked downstream, so a check that comes back here passes.
  BOOL m_bInsideCheckMediaType = FALSE;
};
