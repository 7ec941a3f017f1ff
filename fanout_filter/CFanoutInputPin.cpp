#include "fanout_filter/CFanoutInputPin.h"

#include "fanout_filter/CFanoutFilter.h"
#include "fanout_filter/CFanoutOutputPin.h"

#include <win32/debug.h>

CFanoutInputPin::CFanoutInputPin(const char* pObjectName, CFanoutFilter* pFanout, HRESULT* phr, LPCWSTR pName)
    : CBaseInputPin(pObjectName, pFanout, &pFanout->m_Lock, phr, pName), m_pFanout(pFanout) {}

HRESULT CFanoutInputPin::CheckMediaType(const CMediaType* pmt) {
  // Also asked from Receive when a sample changes the type: the streaming lock keeps the
  // pin list still, where the filter lock could deadlock against Stop.
  CAutoLock streaming(&m_pFanout->m_csReceive);
  if (m_bInsideCheckMediaType) return S_OK;
  m_bInsideCheckMediaType = TRUE;
  HRESULT hr = S_OK;
  for (CFanoutOutputPin* pOut : m_pFanout->m_OutputPinsList) {
    if (pOut->IsConnected() && pOut->GetConnected()->QueryAccept(pmt) != S_OK) {
      hr = VFW_E_TYPE_NOT_ACCEPTED;
      break;
    }
  }
  m_bInsideCheckMediaType = FALSE;
  return hr;
}

// Called under the filter lock while connecting, and under the streaming lock when a
// sample brings a new type: that sample carries the type on to every branch itself, and
// a running graph reconnects nothing, so the branches are reconnected only while stopped.
HRESULT CFanoutInputPin::SetMediaType(const CMediaType* pmt) {
  HRESULT hr = CBaseInputPin::SetMediaType(pmt);
  if (FAILED(hr) || !IsStopped()) return hr;
  // By position: a reconnected output may add a pin to the list.
  for (size_t i = 0; i < m_pFanout->m_OutputPinsList.size(); ++i) {
    CFanoutOutputPin* pOut = m_pFanout->m_OutputPinsList[i];
    if (!pOut->IsConnected() || pOut->CurrentMediaType() == *pmt) continue;
    hr = m_pFanout->ReconnectPin(pOut, pmt);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT CFanoutInputPin::BreakConnect() {
  CAutoLock lock(m_pLock);
  if (m_pFanout->m_pAllocator) {
    m_pFanout->m_pAllocator->Release();
    m_pFanout->m_pAllocator = nullptr;
  }
  // The pin's own hold on the allocator goes too, so the next upstream is not offered
  // the last one's.
  return CBaseInputPin::BreakConnect();
}

STDMETHODIMP CFanoutInputPin::NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) {
  CheckPointer(pAllocator, E_POINTER);
  CAutoLock lock(m_pLock);
  pAllocator->AddRef();
  if (m_pFanout->m_pAllocator) m_pFanout->m_pAllocator->Release();
  m_pFanout->m_pAllocator = pAllocator;
  return CBaseInputPin::NotifyAllocator(pAllocator, bReadOnly);
}

STDMETHODIMP CFanoutInputPin::Receive(IMediaSample* pSample) {
  CAutoLock streaming(&m_pFanout->m_csReceive);
  HRESULT hr = CBaseInputPin::Receive(pSample);
  if (hr != S_OK) return hr;
  // Every output's reference is taken before any output has the sample, and the branches'
  // threads are woken once every queue has it: no locked instruction between two hand-offs
  // makes one wait for the other's writes to reach its thread.
  long held = 0;
  for (CFanoutOutputPin* pOut : m_pFanout->m_OutputPinsList)
    if (pOut->Delivers()) {
      pSample->AddRef();
      ++held;
    }
  COutputQueue::Round round;
  for (CFanoutOutputPin* pOut : m_pFanout->m_OutputPinsList) {
    if (!pOut->Delivers()) continue;
    --held;
    hr = pOut->DeliverHeld(pSample);
    if (hr != S_OK) {
      for (; held > 0; --held) pSample->Release();
      OutputDebugStringA("FanoutOutPutPin:output pin deliver sample ERROR!!!!");
      return hr;
    }
  }
  return S_OK;
}

STDMETHODIMP CFanoutInputPin::EndOfStream() {
  CAutoLock streaming(&m_pFanout->m_csReceive);
  for (CFanoutOutputPin* pOut : m_pFanout->m_OutputPinsList) {
    const HRESULT hr = pOut->DeliverEndOfStream();
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

STDMETHODIMP CFanoutInputPin::BeginFlush() {
  // The filter lock only: a delivery blocked downstream holds the streaming lock until
  // this flush reaches its branch.
  CAutoLock lock(m_pLock);
  for (CFanoutOutputPin* pOut : m_pFanout->m_OutputPinsList) {
    const HRESULT hr = pOut->DeliverBeginFlush();
    if (FAILED(hr)) return hr;
  }
  return CBaseInputPin::BeginFlush();
}

STDMETHODIMP CFanoutInputPin::EndFlush() {
  CAutoLock lock(m_pLock);
  for (CFanoutOutputPin* pOut : m_pFanout->m_OutputPinsList) {
    const HRESULT hr = pOut->DeliverEndFlush();
    if (FAILED(hr)) return hr;
  }
  return CBaseInputPin::EndFlush();
}

STDMETHODIMP CFanoutInputPin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
  CAutoLock streaming(&m_pFanout->m_csReceive);
  for (CFanoutOutputPin* pOut : m_pFanout->m_OutputPinsList) {
    const HRESULT hr = pOut->DeliverNewSegment(tStart, tStop, dRate);
    if (FAILED(hr)) return hr;
  }
  return CBaseInputPin::NewSegment(tStart, tStop, dRate);
}
