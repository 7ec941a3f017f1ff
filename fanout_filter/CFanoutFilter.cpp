#include "fanout_filter/CFanoutFilter.h"

#include "fanout_filter/CFanoutOutputPin.h"

#include <win32/thread.h>

#include <algorithm>
#include <cwchar>
#include <new>

CUnknown* WINAPI CFanoutFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
  auto* pFilter = new (std::nothrow) CFanoutFilter(pUnk, phr);
  if (!pFilter && phr) *phr = E_OUTOFMEMORY;
  return pFilter;
}

CFanoutFilter::CFanoutFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CBaseFilter("Fan-out filter", pUnk, &m_Lock, CLSID_FanoutFilter, phr),
      m_Input("Fan-out input pin", this, phr, L"Input") {
  CFanoutOutputPin* pPin = CreateNextOutputPin();
  if (!pPin) {
    if (phr) *phr = E_OUTOFMEMORY;
    return;
  }
  AddOutputPin(pPin);
}

CFanoutFilter::~CFanoutFilter() {
  // The pins are deleted here directly. Releasing them would send each one back through
  // DeleteOutputPin, which takes it out of the very list being walked.
  std::vector<CFanoutOutputPin*> pins;
  pins.swap(m_OutputPinsList);
  m_pFirstOutputPin = nullptr;
  for (CFanoutOutputPin* pPin : pins) delete pPin;
  if (m_pAllocator) m_pAllocator->Release();
}

int CFanoutFilter::GetPinCount() {
  CAutoLock lock(&m_Lock);
  return static_cast<int>(m_OutputPinsList.size()) + 1;
}

CBasePin* CFanoutFilter::GetPin(int n) {
  CAutoLock lock(&m_Lock);
  if (n < 0) return nullptr;
  if (n == 0) return &m_Input;
  if (n <= static_cast<int>(m_OutputPinsList.size())) return m_OutputPinsList[static_cast<size_t>(n - 1)];
  return nullptr;
}

CFanoutOutputPin* CFanoutFilter::CreateNextOutputPin() {
  WCHAR szName[20];
  ++m_NextOutputPinNumber;
  swprintf(szName, 20, L"Output%d", static_cast<int>(m_NextOutputPinNumber));
  HRESULT hr = S_OK;
  auto* pPin = new (std::nothrow) CFanoutOutputPin("Fan-out output pin", this, &hr, szName);
  if (pPin && FAILED(hr)) {
    delete pPin;
    return nullptr;
  }
  return pPin;
}

void CFanoutFilter::AddOutputPin(CFanoutOutputPin* pPin) {
  CAutoLock lock(&m_Lock);
  {
    CAutoLock streaming(&m_csReceive);
    m_OutputPinsList.push_back(pPin);
    m_pFirstOutputPin = m_OutputPinsList.front();
  }
  IncrementPinVersion();
}

void CFanoutFilter::DeleteOutputPin(CFanoutOutputPin* pPin) {
  CAutoLock lock(&m_Lock);
  {
    CAutoLock streaming(&m_csReceive);
    auto it = std::find(m_OutputPinsList.begin(), m_OutputPinsList.end(), pPin);
    if (it == m_OutputPinsList.end()) return;
    // The pass-through goes with the pin; another pin may take the role now.
    if (pPin->HoldsSeeking()) InterlockedExchange(&m_lCanSeek, 1);
    m_OutputPinsList.erase(it);
    m_pFirstOutputPin = m_OutputPinsList.empty() ? nullptr : m_OutputPinsList.front();
  }
  delete pPin;
  IncrementPinVersion();
}

int CFanoutFilter::GetNumFreePins() {
  CAutoLock lock(&m_Lock);
  return static_cast<int>(std::count_if(m_OutputPinsList.begin(), m_OutputPinsList.end(),
                                        [](CFanoutOutputPin* pPin) { return !pPin->IsConnected(); }));
}

HRESULT CFanoutFilter::ReconnectPin(IPin* pPin, const AM_MEDIA_TYPE* pmt) {
  if (!m_pGraph) return VFW_E_NOT_IN_GRAPH;
  IFilterGraph2* pGraph2 = nullptr;
  HRESULT hr = m_pGraph->QueryInterface(IID_IFilterGraph2, reinterpret_cast<void**>(&pGraph2));
  if (FAILED(hr)) return hr;
  hr = pGraph2->ReconnectEx(pPin, pmt);
  pGraph2->Release();
  return hr;
}

STDMETHODIMP CFanoutFilter::Stop() {
  CAutoLock lock(&m_Lock);
  // A delivery in progress ends before the outputs' queues go.
  CAutoLock streaming(&m_csReceive);
  CBaseFilter::Stop();
  m_State = State_Stopped;
  return S_OK;
}

STDMETHODIMP CFanoutFilter::Pause() {
  CAutoLock lock(&m_Lock);
  const HRESULT hr = CBaseFilter::Pause();
  // Nothing will ever come in: the branches hear so at once.
  if (SUCCEEDED(hr) && !m_Input.IsConnected()) m_Input.EndOfStream();
  return hr;
}

STDMETHODIMP CFanoutFilter::Run(REFERENCE_TIME tStart) {
  CAutoLock lock(&m_Lock);
  const HRESULT hr = CBaseFilter::Run(tStart);
  if (SUCCEEDED(hr) && !m_Input.IsConnected()) m_Input.EndOfStream();
  return hr;
}
