// One output of the fan-out filter. It hands the upstream allocator to the pin it
// connects to (read-only: the samples are shared with the other branches), accepts a type
// only when upstream and every other branch accept it, and delivers through an output
// queue that runs a thread of its own when the downstream pin says its Receive can block.
//
// A pin is a counted object of its own, so the filter can tell when nobody but itself
// holds a spare pin: the count starts at one, the filter's own reference, and a spare
// whose last outside reference goes away is deleted while another free pin remains.
// Every outside reference also holds the filter, so the filter never goes while one of
// its pins is still held, whatever order the references are released in.
//
// Exactly one output at a time serves IMediaSeeking and IMediaPosition, passed through
// to the pin upstream of the input.
#pragma once

#include <dshow/baseclasses/CBaseOutputPin.h>
#include <dshow/baseclasses/COutputQueue.h>

#include <memory>

class CFanoutFilter;

class CFanoutOutputPin : public CBaseOutputPin {
 public:
  CFanoutOutputPin(const char* pObjectName, CFanoutFilter* pFanout, HRESULT* phr, LPCWSTR pPinName);
  ~CFanoutOutputPin() override;

  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) NonDelegatingAddRef() override;
  STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

  HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override;
  // Never asked: the allocator is upstream's, with upstream's sizes.
  HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* ppropInputRequest) override;
  HRESULT CheckMediaType(const CMediaType* pmt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
  HRESULT SetMediaType(const CMediaType* pmt) override;
  HRESULT CompleteConnect(IPin* pReceivePin) override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  HRESULT Deliver(IMediaSample* pSample) override;
  // Whether samples delivered here go anywhere: the pin is connected and active. Under
  // the filter's streaming lock.
  BOOL Delivers() const { return m_pOutputQueue != nullptr; }
  // Deliver, taking over a reference the caller holds for this pin (Delivers() is true).
  HRESULT DeliverHeld(IMediaSample* pSample);
  HRESULT DeliverEndOfStream() override;
  HRESULT DeliverBeginFlush() override;
  HRESULT DeliverEndFlush() override;
  HRESULT DeliverNewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

  STDMETHODIMP Notify(IBaseFilter* pSender, Quality q) override;

  BOOL HoldsSeeking() const { return m_pPosition != nullptr; }

 private:
  // The part of Release that may delete the pin; under the filter lock.
  LONG ReleaseLocked();

  CFanoutFilter* m_pFanout;
  IUnknown* m_pPosition = nullptr;  // the seeking pass-through's inner unknown, when this pin holds it
  std::unique_ptr<COutputQueue> m_pOutputQueue;
  // Set while the type is being checked elsewhere, so a check that comes back here passes.
  BOOL m_bInsideCheckMediaType = FALSE;
};
