#include <dshow/baseclasses/CBaseInputPin.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CMemAllocator.h>
#include <dshow/evcode.h>

CBaseInputPin::CBaseInputPin(const char* pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr,
                             LPCWSTR pName)
    : CBasePin(pObjectName, pFilter, pLock, phr, pName, PINDIR_INPUT) {}

CBaseInputPin::~CBaseInputPin() {
  if (m_pAllocator) m_pAllocator->Release();
}

STDMETHODIMP CBaseInputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMemInputPin) return GetInterface(static_cast<IMemInputPin*>(this), ppv);
  return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseInputPin::GetAllocator(IMemAllocator** ppAllocator) {
  CheckPointer(ppAllocator, E_POINTER);
  CAutoLock lock(m_pLock);
  if (!m_pAllocator) {
    const HRESULT hr = CreateMemoryAllocator(&m_pAllocator);
    if (FAILED(hr)) return hr;
  }
  *ppAllocator = m_pAllocator;
  m_pAllocator->AddRef();
  return S_OK;
}

STDMETHODIMP CBaseInputPin::NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) {
  CheckPointer(pAllocator, E_POINTER);
  CAutoLock lock(m_pLock);
  pAllocator->AddRef();
  if (m_pAllocator) m_pAllocator->Release();
  m_pAllocator = pAllocator;
  m_bReadOnly = bReadOnly;
  return S_OK;
}

STDMETHODIMP CBaseInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT CBaseInputPin::CheckStreaming() {
  if (IsStopped()) return VFW_E_WRONG_STATE;
  if (m_bFlushing) return S_FALSE;
  if (m_bRunTimeError) return VFW_E_RUNTIME_ERROR;
  return S_OK;
}

STDMETHODIMP CBaseInputPin::Receive(IMediaSample* pSample) {
  CheckPointer(pSample, E_POINTER);
  const HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr;
  AM_MEDIA_TYPE* changed = nullptr;
  if (pSample->GetMediaType(&changed) == S_OK && changed) {
    const CMediaType type(*changed);
    DeleteMediaType(changed);
    if (CheckMediaType(&type) != S_OK) {
      // A type this pin cannot take ends the stream with an error.
      EndOfStream();
      m_pFilter->NotifyEvent(EC_ERRORABORT, VFW_E_TYPE_NOT_ACCEPTED, 0);
      m_bRunTimeError = true;
      return VFW_E_INVALIDMEDIATYPE;
    }
    SetMediaType(&type);
  }
  return S_OK;
}

STDMETHODIMP CBaseInputPin::ReceiveMultiple(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) {
  CheckPointer(pSamples, E_POINTER);
  CheckPointer(nSamplesProcessed, E_POINTER);
  *nSamplesProcessed = 0;
  HRESULT hr = S_OK;
  while (nSamples-- > 0) {
    hr = Receive(pSamples[*nSamplesProcessed]);
    if (hr != S_OK) break;
    ++*nSamplesProcessed;
  }
  return hr;
}

STDMETHODIMP CBaseInputPin::ReceiveCanBlock() {
  // A pin can block when it is a renderer's (no outputs) or when any connected output
  // of its filter leads to a pin that can.
  int outputs = 0;
  const int count = m_pFilter->GetPinCount();
  for (int i = 0; i < count; ++i) {
    CBasePin* pin = m_pFilter->GetPin(i);
    PIN_DIRECTION dir = PINDIR_INPUT;
    if (!pin || FAILED(pin->QueryDirection(&dir)) || dir != PINDIR_OUTPUT) continue;
    ++outputs;
    IPin* peer = pin->GetConnected();
    if (!peer) continue;
    IMemInputPin* memInput = nullptr;
    if (SUCCEEDED(peer->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&memInput)))) {
      const HRESULT hr = memInput->ReceiveCanBlock();
      memInput->Release();
      if (hr != S_FALSE) return S_OK;
    } else {
      return S_OK;
    }
  }
  return outputs == 0 ? S_OK : S_FALSE;
}

STDMETHODIMP CBaseInputPin::BeginFlush() {
  CAutoLock lock(m_pLock);
  m_bFlushing = TRUE;
  return S_OK;
}

STDMETHODIMP CBaseInputPin::EndFlush() {
  CAutoLock lock(m_pLock);
  m_bFlushing = FALSE;
  m_bRunTimeError = false;
  return S_OK;
}

HRESULT CBaseInputPin::BreakConnect() {
  if (m_pAllocator) {
    m_pAllocator->Release();
    m_pAllocator = nullptr;
  }
  return S_OK;
}

HRESULT CBaseInputPin::Inactive() {
  m_bRunTimeError = false;
  m_bFlushing = FALSE;
  if (!m_pAllocator) return VFW_E_NO_ALLOCATOR;
  return m_pAllocator->Decommit();
}
