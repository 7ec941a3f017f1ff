// An input pin that receives samples through IMemInputPin. It keeps the allocator the
// upstream pin chose (and whether its samples are read-only), refuses samples while the
// filter is stopped (VFW_E_WRONG_STATE) or flushing (S_FALSE) or after a run-time error,
// and checks a type change carried by a sample. Receive here does only those checks; a
// derived pin calls it first and then handles the sample.
#pragma once

#include <dshow/baseclasses/CBasePin.h>

class CBaseInputPin : public CBasePin, public IMemInputPin {
 public:
  CBaseInputPin(const char* pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, LPCWSTR pName);
  ~CBaseInputPin() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // IMemInputPin
  STDMETHODIMP GetAllocator(IMemAllocator** ppAllocator) override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
  STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) override;
  STDMETHODIMP Receive(IMediaSample* pSample) override;
  STDMETHODIMP ReceiveMultiple(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) override;
  STDMETHODIMP ReceiveCanBlock() override;

  // IPin
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;

  HRESULT BreakConnect() override;
  HRESULT Inactive() override;

  BOOL IsReadOnly() const { return m_bReadOnly; }
  BOOL IsFlushing() const { return m_bFlushing; }
  // S_OK when a sample may be processed now; see the class comment for the others.
  virtual HRESULT CheckStreaming();

 protected:
  IMemAllocator* m_pAllocator = nullptr;  // counted
  BOOL m_bReadOnly = FALSE;
  std::atomic<BOOL> m_bFlushing{FALSE};
};
