// An output pin that delivers samples to an input pin's IMemInputPin. On connection it
// decides the allocator (the input's own when it offers one, else a new CMemAllocator,
// sized by DecideBufferSize), commits it when the filter becomes active and decommits it
// when it stops, and delivers samples, end of stream, flushes and segments downstream.
#pragma once

#include <dshow/baseclasses/CBasePin.h>

class CBaseOutputPin : public CBasePin {
 public:
  CBaseOutputPin(const char* pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, LPCWSTR pName);
  ~CBaseOutputPin() override;

  HRESULT CompleteConnect(IPin* pReceivePin) override;
  HRESULT CheckConnect(IPin* pPin) override;
  HRESULT BreakConnect() override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  virtual HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** pAlloc);
  virtual HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* ppropInputRequest) = 0;
  virtual HRESULT InitAllocator(IMemAllocator** ppAlloc);
  virtual HRESULT GetDeliveryBuffer(IMediaSample** ppSample, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                                    DWORD dwFlags);

  virtual HRESULT Deliver(IMediaSample* pSample);
  virtual HRESULT DeliverEndOfStream();
  virtual HRESULT DeliverBeginFlush();
  virtual HRESULT DeliverEndFlush();
  virtual HRESULT DeliverNewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate);

  // Streaming notifications arrive at input pins only.
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;

 protected:
  // Sizes the allocator `got` (an HRESULT) brought into *ppAlloc and offers it to the
  // input; on failure lets go of it.
  HRESULT OfferAllocator(IMemInputPin* pPin, HRESULT got, ALLOCATOR_PROPERTIES* pProp, IMemAllocator** ppAlloc);

  IMemAllocator* m_pAllocator = nullptr;  // counted
  IMemInputPin* m_pInputPin = nullptr;    // counted, the peer's transport
};
