#include <dshow/baseclasses/CBasePin.h>

#include <com/objbase.h>
#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CEnumMediaTypes.h>

#include <algorithm>
#include <cstring>
#include <new>

CBasePin::CBasePin(const char* pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, LPCWSTR pName,
                   PIN_DIRECTION dir)
    : CUnknown(pObjectName, nullptr, phr), m_pName(pName ? pName : L""), m_dir(dir), m_pLock(pLock), m_pFilter(pFilter) {}

CBasePin::~CBasePin() {
  if (m_Connected) m_Connected->Release();
}

STDMETHODIMP CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IPin) return GetInterface(static_cast<IPin*>(this), ppv);
  if (riid == IID_IQualityControl) return GetInterface(static_cast<IQualityControl*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) CBasePin::NonDelegatingAddRef() { return m_pFilter->AddRef(); }

STDMETHODIMP_(ULONG) CBasePin::NonDelegatingRelease() { return m_pFilter->Release(); }

STDMETHODIMP CBasePin::Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) {
  CheckPointer(pReceivePin, E_POINTER);
  CAutoLock lock(m_pLock);
  if (m_Connected) return VFW_E_ALREADY_CONNECTED;
  if (!IsStopped() && !m_bCanReconnectWhenActive) return VFW_E_NOT_STOPPED;
  if (pmt) {
    const CMediaType wanted(*pmt);
    return AgreeMediaType(pReceivePin, &wanted);
  }
  return AgreeMediaType(pReceivePin, nullptr);
}

HRESULT CBasePin::AgreeMediaType(IPin* pReceivePin, const CMediaType* pmt) {
  if (pmt && !pmt->IsPartiallySpecified()) return AttemptConnection(pReceivePin, pmt);
  HRESULT hrFailure = VFW_E_NO_ACCEPTABLE_TYPES;
  for (int round = 0; round < 2; ++round) {
    // Round 0 asks the receiving pin's types unless this pin prefers its own.
    const bool mine = (round == 0) == m_bTryMyTypesFirst;
    IEnumMediaTypes* types = nullptr;
    const HRESULT hrEnum = mine ? EnumMediaTypes(&types) : pReceivePin->EnumMediaTypes(&types);
    if (FAILED(hrEnum) || !types) continue;
    const HRESULT hr = TryMediaTypes(pReceivePin, pmt, types);
    types->Release();
    if (SUCCEEDED(hr)) return S_OK;
    // A specific refusal says more than "nothing acceptable".
    if (hr != E_FAIL && hr != E_INVALIDARG && hr != VFW_E_TYPE_NOT_ACCEPTED) hrFailure = hr;
  }
  return hrFailure;
}

HRESULT CBasePin::TryMediaTypes(IPin* pReceivePin, const CMediaType* pmt, IEnumMediaTypes* pEnum) {
  HRESULT hrFailure = VFW_E_NO_ACCEPTABLE_TYPES;
  for (;;) {
    AM_MEDIA_TYPE* raw = nullptr;
    ULONG fetched = 0;
    if (pEnum->Next(1, &raw, &fetched) != S_OK || fetched != 1 || !raw) return hrFailure;
    const CMediaType candidate(*raw);
    DeleteMediaType(raw);
    if (pmt && !candidate.MatchesPartial(pmt)) continue;
    const HRESULT hr = AttemptConnection(pReceivePin, &candidate);
    if (SUCCEEDED(hr)) return hr;
    if (hr != E_FAIL && hr != E_INVALIDARG && hr != VFW_E_TYPE_NOT_ACCEPTED) hrFailure = hr;
  }
}

HRESULT CBasePin::AttemptConnection(IPin* pReceivePin, const CMediaType* pmt) {
  HRESULT hr = CheckConnect(pReceivePin);
  if (FAILED(hr)) {
    BreakConnect();
    return hr;
  }
  hr = CheckMediaType(pmt);
  if (hr == S_OK) {
    m_Connected = pReceivePin;
    m_Connected->AddRef();
    hr = SetMediaType(pmt);
    if (SUCCEEDED(hr)) {
      hr = pReceivePin->ReceiveConnection(static_cast<IPin*>(this), pmt);
      if (SUCCEEDED(hr)) {
        hr = CompleteConnect(pReceivePin);
        if (SUCCEEDED(hr)) return hr;
        pReceivePin->Disconnect();
      }
    }
  } else if (SUCCEEDED(hr) || hr == E_FAIL || hr == E_INVALIDARG) {
    hr = VFW_E_TYPE_NOT_ACCEPTED;
  }
  if (m_Connected) {
    m_Connected->Release();
    m_Connected = nullptr;
  }
  BreakConnect();
  return hr;
}

STDMETHODIMP CBasePin::ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) {
  CheckPointer(pConnector, E_POINTER);
  CheckPointer(pmt, E_POINTER);
  CAutoLock lock(m_pLock);
  if (m_Connected) return VFW_E_ALREADY_CONNECTED;
  if (!IsStopped() && !m_bCanReconnectWhenActive) return VFW_E_NOT_STOPPED;
  HRESULT hr = CheckConnect(pConnector);
  if (FAILED(hr)) {
    BreakConnect();
    return hr;
  }
  const CMediaType offered(*pmt);
  hr = CheckMediaType(&offered);
  if (hr != S_OK) {
    BreakConnect();
    if (SUCCEEDED(hr) || hr == E_FAIL || hr == E_INVALIDARG) hr = VFW_E_TYPE_NOT_ACCEPTED;
    return hr;
  }
  m_Connected = pConnector;
  m_Connected->AddRef();
  hr = SetMediaType(&offered);
  if (SUCCEEDED(hr)) {
    hr = CompleteConnect(pConnector);
    if (SUCCEEDED(hr)) return S_OK;
  }
  m_Connected->Release();
  m_Connected = nullptr;
  BreakConnect();
  return hr;
}

STDMETHODIMP CBasePin::Disconnect() {
  CAutoLock lock(m_pLock);
  if (!IsStopped()) return VFW_E_NOT_STOPPED;
  return DisconnectInternal();
}

HRESULT CBasePin::DisconnectInternal() {
  if (!m_Connected) return S_FALSE;
  const HRESULT hr = BreakConnect();
  if (FAILED(hr)) return hr;
  m_Connected->Release();
  m_Connected = nullptr;
  return S_OK;
}

STDMETHODIMP CBasePin::ConnectedTo(IPin** pPin) {
  CheckPointer(pPin, E_POINTER);
  IPin* peer = m_Connected;
  *pPin = peer;
  if (!peer) return VFW_E_NOT_CONNECTED;
  peer->AddRef();
  return S_OK;
}

STDMETHODIMP CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* pmt) {
  CheckPointer(pmt, E_POINTER);
  CAutoLock lock(m_pLock);
  if (!IsConnected()) {
    *pmt = AM_MEDIA_TYPE{};
    return VFW_E_NOT_CONNECTED;
  }
  return CopyMediaType(pmt, &m_mt);
}

STDMETHODIMP CBasePin::QueryPinInfo(PIN_INFO* pInfo) {
  CheckPointer(pInfo, E_POINTER);
  pInfo->pFilter = m_pFilter;
  m_pFilter->AddRef();
  const size_t n = std::min<size_t>(m_pName.size(), MAX_PIN_NAME - 1);
  std::copy_n(m_pName.c_str(), n, pInfo->achName);
  pInfo->achName[n] = L'\0';
  pInfo->dir = m_dir;
  return S_OK;
}

STDMETHODIMP CBasePin::QueryDirection(PIN_DIRECTION* pPinDir) {
  CheckPointer(pPinDir, E_POINTER);
  *pPinDir = m_dir;
  return S_OK;
}

STDMETHODIMP CBasePin::QueryId(LPWSTR* Id) {
  CheckPointer(Id, E_POINTER);
  const size_t bytes = (m_pName.size() + 1) * sizeof(WCHAR);
  *Id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!*Id) return E_OUTOFMEMORY;
  std::memcpy(*Id, m_pName.c_str(), bytes);
  return S_OK;
}

STDMETHODIMP CBasePin::QueryAccept(const AM_MEDIA_TYPE* pmt) {
  CheckPointer(pmt, E_POINTER);
  const CMediaType offered(*pmt);
  const HRESULT hr = CheckMediaType(&offered);
  return FAILED(hr) ? S_FALSE : hr;
}

STDMETHODIMP CBasePin::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
  CheckPointer(ppEnum, E_POINTER);
  auto* types = new (std::nothrow) CEnumMediaTypes(this, nullptr);
  *ppEnum = types;
  if (!types) return E_OUTOFMEMORY;
  types->AddRef();
  return S_OK;
}

STDMETHODIMP CBasePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

STDMETHODIMP CBasePin::EndOfStream() { return S_OK; }

STDMETHODIMP CBasePin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
  m_tStart = tStart;
  m_tStop = tStop;
  m_dRate = dRate;
  return S_OK;
}

STDMETHODIMP CBasePin::Notify(IBaseFilter*, Quality) { return E_NOTIMPL; }

STDMETHODIMP CBasePin::SetSink(IQualityControl* piqc) {
  CAutoLock lock(m_pLock);
  m_pQSink = piqc;
  return S_OK;
}

HRESULT CBasePin::SetMediaType(const CMediaType* pmt) {
  const HRESULT hr = m_mt.Set(*pmt);
  return FAILED(hr) ? hr : S_OK;
}

HRESULT CBasePin::CheckConnect(IPin* pPin) {
  PIN_DIRECTION peerDir = PINDIR_INPUT;
  const HRESULT hr = pPin->QueryDirection(&peerDir);
  if (FAILED(hr)) return hr;
  return peerDir == m_dir ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::BreakConnect() { return S_OK; }

HRESULT CBasePin::CompleteConnect(IPin*) { return S_OK; }

HRESULT CBasePin::GetMediaType(int iPosition, CMediaType*) { return iPosition < 0 ? E_INVALIDARG : VFW_S_NO_MORE_ITEMS; }
