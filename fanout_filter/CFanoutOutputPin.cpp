#include "fanout_filter/CFanoutOutputPin.h"

#include "fanout_filter/CFanoutFilter.h"

#include <win32/thread.h>

#include <new>

CFanoutOutputPin::CFanoutOutputPin(const char* pObjectName, CFanoutFilter* pFanout, HRESULT* phr, LPCWSTR pPinName)
    : CBaseOutputPin(pObjectName, pFanout, &pFanout->m_Lock, phr, pPinName), m_pFanout(pFanout) {
  // The filter's own reference, which does not hold the filter.
  m_cRef = 1;
}

CFanoutOutputPin::~CFanoutOutputPin() {
  if (m_pPosition) m_pPosition->Release();
}

STDMETHODIMP CFanoutOutputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  CheckPointer(ppv, E_POINTER);
  if (riid != IID_IMediaPosition && riid != IID_IMediaSeeking) return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
  CAutoLock lock(m_pLock);
  if (!m_pPosition) {
    // One output at a time carries seeking.
    if (InterlockedExchange(&m_pFanout->m_lCanSeek, 0) == 0) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    const HRESULT hr = CreatePosPassThru(GetOwner(), FALSE, &m_pFanout->m_Input, &m_pPosition);
    if (FAILED(hr)) {
      InterlockedExchange(&m_pFanout->m_lCanSeek, 1);
      *ppv = nullptr;
      return hr;
    }
  }
  return m_pPosition->QueryInterface(riid, ppv);
}

// Counting takes no lock: downstream may AddRef and Release this pin on its streaming
// thread while Stop holds the filter lock and waits for that thread.
STDMETHODIMP_(ULONG) CFanoutOutputPin::NonDelegatingAddRef() {
  const LONG count = ++m_cRef;
  m_pFanout->AddRef();
  return static_cast<ULONG>(count);
}

STDMETHODIMP_(ULONG) CFanoutOutputPin::NonDelegatingRelease() {
  CFanoutFilter* pFanout = m_pFanout;
  LONG count = m_cRef.load();
  // While another outside holder remains, or the pin is connected (its peer lets go of
  // it under the peer's own lock), this release deletes nothing and needs no lock.
  while (count > 2 || IsConnected()) {
    if (m_cRef.compare_exchange_weak(count, count - 1)) {
      pFanout->Release();
      return static_cast<ULONG>(count - 1);
    }
  }
  {
    CAutoLock lock(&pFanout->m_Lock);
    count = ReleaseLocked();
  }
  // The filter goes last: its last reference may be this one, and it deletes its pins.
  pFanout->Release();
  return static_cast<ULONG>(count);
}

LONG CFanoutOutputPin::ReleaseLocked() {
  const LONG count = --m_cRef;
  // A connected pin stays whatever its count: its peer still points at it.
  if (count > 1 || IsConnected() || (count == 1 && m_pFanout->GetNumFreePins() < 2)) return count;
  m_cRef = 0;
  m_pFanout->DeleteOutputPin(this);
  return 0;
}

HRESULT CFanoutOutputPin::DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) {
  CheckPointer(pPin, E_POINTER);
  CheckPointer(ppAlloc, E_POINTER);
  *ppAlloc = nullptr;
  IMemAllocator* pAllocator = m_pFanout->m_pAllocator;
  HRESULT hr = S_OK;
  if (pAllocator) {
    pAllocator->AddRef();
  } else {
    // Reconnected while the input is connecting, before upstream has named its
    // allocator: the input's own, which upstream is offered first.
    hr = m_pFanout->m_Input.GetAllocator(&pAllocator);
    if (FAILED(hr)) return hr;
  }
  hr = pPin->NotifyAllocator(pAllocator, TRUE);
  if (FAILED(hr)) {
    pAllocator->Release();
    return hr;
  }
  *ppAlloc = pAllocator;
  return S_OK;
}

HRESULT CFanoutOutputPin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES*) { return S_OK; }

HRESULT CFanoutOutputPin::CheckMediaType(const CMediaType* pmt) {
  CAutoLock streaming(&m_pFanout->m_csReceive);
  if (m_bInsideCheckMediaType) return S_OK;
  IPin* pUpstream = m_pFanout->m_Input.GetConnected();
  if (!pUpstream) return VFW_E_NOT_CONNECTED;
  m_bInsideCheckMediaType = TRUE;
  HRESULT hr = pUpstream->QueryAccept(pmt) == S_OK ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  for (CFanoutOutputPin* pOut : m_pFanout->m_OutputPinsList) {
    if (hr != S_OK) break;
    if (pOut != this && pOut->IsConnected() && pOut->GetConnected()->QueryAccept(pmt) != S_OK) hr = VFW_E_TYPE_NOT_ACCEPTED;
  }
  m_bInsideCheckMediaType = FALSE;
  return hr;
}

STDMETHODIMP CFanoutOutputPin::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
  CheckPointer(ppEnum, E_POINTER);
  CAutoLock lock(m_pLock);
  *ppEnum = nullptr;
  IPin* pUpstream = m_pFanout->m_Input.GetConnected();
  if (!pUpstream) return VFW_E_NOT_CONNECTED;
  return pUpstream->EnumMediaTypes(ppEnum);
}

HRESULT CFanoutOutputPin::SetMediaType(const CMediaType* pmt) {
  CAutoLock lock(m_pLock);
  if (!m_pFanout->m_Input.IsConnected()) return VFW_E_NOT_CONNECTED;
  return CBaseOutputPin::SetMediaType(pmt);
}

HRESULT CFanoutOutputPin::CompleteConnect(IPin* pReceivePin) {
  CAutoLock lock(m_pLock);
  HRESULT hr = CBaseOutputPin::CompleteConnect(pReceivePin);
  if (FAILED(hr)) return hr;
  // Upstream accepted this type when it was checked: let it send it.
  if (m_mt != m_pFanout->m_Input.CurrentMediaType()) {
    hr = m_pFanout->ReconnectPin(&m_pFanout->m_Input, &m_mt);
    if (FAILED(hr)) return hr;
  }
  if (m_pFanout->GetNumFreePins() != 1 &&
      static_cast<int>(m_pFanout->m_OutputPinsList.size()) < CFanoutFilter::kMaxOutputPins) {
    if (CFanoutOutputPin* pPin = m_pFanout->CreateNextOutputPin()) m_pFanout->AddOutputPin(pPin);
  }
  return S_OK;
}

HRESULT CFanoutOutputPin::Active() {
  CAutoLock lock(m_pLock);
  if (m_Connected && !m_pOutputQueue) {
    HRESULT hr = S_OK;
    m_pOutputQueue.reset(new (std::nothrow) COutputQueue(m_Connected, &hr, TRUE, FALSE, 1, FALSE, 10,
                                                          THREAD_PRIORITY_NORMAL));
    if (!m_pOutputQueue) return E_OUTOFMEMORY;
    if (FAILED(hr)) {
      m_pOutputQueue.reset();
      return hr;
    }
  }
  return CBaseOutputPin::Active();
}

HRESULT CFanoutOutputPin::Inactive() {
  CAutoLock lock(m_pLock);
  m_pOutputQueue.reset();
  return CBaseOutputPin::Inactive();
}

HRESULT CFanoutOutputPin::Deliver(IMediaSample* pSample) {
  CheckPointer(pSample, E_POINTER);
  if (!Delivers()) return S_OK;
  pSample->AddRef();
  return DeliverHeld(pSample);
}

HRESULT CFanoutOutputPin::DeliverHeld(IMediaSample* pSample) {
  // The queue takes over the reference.
  return m_pOutputQueue->Receive(pSample);
}

HRESULT CFanoutOutputPin::DeliverEndOfStream() {
  if (m_pOutputQueue) m_pOutputQueue->EOS();
  return S_OK;
}

HRESULT CFanoutOutputPin::DeliverBeginFlush() {
  if (m_pOutputQueue) m_pOutputQueue->BeginFlush();
  return S_OK;
}

HRESULT CFanoutOutputPin::DeliverEndFlush() {
  if (m_pOutputQueue) m_pOutputQueue->EndFlush();
  return S_OK;
}

HRESULT CFanoutOutputPin::DeliverNewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
  if (m_pOutputQueue) m_pOutputQueue->NewSegment(tStart, tStop, dRate);
  return S_OK;
}

STDMETHODIMP CFanoutOutputPin::Notify(IBaseFilter*, Quality q) {
  // Upstream hears one branch, not one message per branch.
  if (!m_pFanout->IsFirstOutputPin(this)) return S_OK;
  if (m_pQSink) return m_pQSink->Notify(m_pFanout, q);
  IPin* pUpstream = m_pFanout->m_Input.GetConnected();
  if (!pUpstream) return VFW_E_NOT_FOUND;
  IQualityControl* pQualityControl = nullptr;
  if (FAILED(pUpstream->QueryInterface(IID_IQualityControl, reinterpret_cast<void**>(&pQualityControl))))
    return VFW_E_NOT_FOUND;
  const HRESULT hr = pQualityControl->Notify(m_pFanout, q);
  pQualityControl->Release();
  return hr;
}
