#include <dshow/baseclasses/CBaseFilter.h>

#include <com/objbase.h>
#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CBasePin.h>
#include <dshow/baseclasses/CEnumPins.h>
#include <dshow/evcode.h>

#include <algorithm>
#include <new>

CBaseFilter::CBaseFilter(const char* pName, LPUNKNOWN pUnk, CCritSec* pLock, REFCLSID clsid, HRESULT* phr)
    : CUnknown(pName, pUnk, phr), m_clsid(clsid), m_pLock(pLock) {}

CBaseFilter::~CBaseFilter() {
  if (m_pClock) m_pClock->Release();
}

STDMETHODIMP CBaseFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IBaseFilter) return GetInterface(static_cast<IBaseFilter*>(this), ppv);
  if (riid == IID_IMediaFilter) return GetInterface(static_cast<IMediaFilter*>(this), ppv);
  if (riid == IID_IPersist) return GetInterface(static_cast<IPersist*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseFilter::GetClassID(CLSID* pClsID) {
  CheckPointer(pClsID, E_POINTER);
  *pClsID = m_clsid;
  return S_OK;
}

STDMETHODIMP CBaseFilter::Stop() {
  CAutoLock lock(m_pLock);
  HRESULT hr = S_OK;
  if (m_State != State_Stopped) {
    const int count = GetPinCount();
    for (int i = 0; i < count; ++i) {
      CBasePin* pin = GetPin(i);
      if (pin && pin->IsConnected()) {
        const HRESULT hrPin = pin->Inactive();
        if (FAILED(hrPin) && SUCCEEDED(hr)) hr = hrPin;
      }
    }
  }
  m_State = State_Stopped;
  return hr;
}

STDMETHODIMP CBaseFilter::Pause() {
  CAutoLock lock(m_pLock);
  if (m_State == State_Stopped) {
    const int count = GetPinCount();
    for (int i = 0; i < count; ++i) {
      CBasePin* pin = GetPin(i);
      if (pin && pin->IsConnected()) {
        const HRESULT hr = pin->Active();
        if (FAILED(hr)) return hr;
      }
    }
  }
  m_State = State_Paused;
  return S_OK;
}

STDMETHODIMP CBaseFilter::Run(REFERENCE_TIME tStart) {
  CAutoLock lock(m_pLock);
  m_tStart = tStart;
  if (m_State == State_Stopped) {
    const HRESULT hr = Pause();
    if (FAILED(hr)) return hr;
  }
  if (m_State != State_Running) {
    const int count = GetPinCount();
    for (int i = 0; i < count; ++i) {
      CBasePin* pin = GetPin(i);
      if (pin && pin->IsConnected()) {
        const HRESULT hr = pin->Run(tStart);
        if (FAILED(hr)) return hr;
      }
    }
  }
  m_State = State_Running;
  return S_OK;
}

STDMETHODIMP CBaseFilter::GetState(DWORD, FILTER_STATE* State) {
  CheckPointer(State, E_POINTER);
  *State = m_State;
  return S_OK;
}

STDMETHODIMP CBaseFilter::SetSyncSource(IReferenceClock* pClock) {
  CAutoLock lock(m_pLock);
  if (pClock) pClock->AddRef();
  if (m_pClock) m_pClock->Release();
  m_pClock = pClock;
  return S_OK;
}

STDMETHODIMP CBaseFilter::GetSyncSource(IReferenceClock** pClock) {
  CheckPointer(pClock, E_POINTER);
  CAutoLock lock(m_pLock);
  *pClock = m_pClock;
  if (m_pClock) m_pClock->AddRef();
  return S_OK;
}

STDMETHODIMP CBaseFilter::EnumPins(IEnumPins** ppEnum) {
  CheckPointer(ppEnum, E_POINTER);
  auto* pins = new (std::nothrow) CEnumPins(this, nullptr);
  *ppEnum = pins;
  if (!pins) return E_OUTOFMEMORY;
  pins->AddRef();
  return S_OK;
}

STDMETHODIMP CBaseFilter::FindPin(LPCWSTR Id, IPin** ppPin) {
  CheckPointer(Id, E_POINTER);
  CheckPointer(ppPin, E_POINTER);
  CAutoLock lock(m_pLock);
  const int count = GetPinCount();
  for (int i = 0; i < count; ++i) {
    CBasePin* pin = GetPin(i);
    if (pin && std::wstring(pin->Name()) == Id) {
      *ppPin = pin;
      pin->AddRef();
      return S_OK;
    }
  }
  *ppPin = nullptr;
  return VFW_E_NOT_FOUND;
}

STDMETHODIMP CBaseFilter::QueryFilterInfo(FILTER_INFO* pInfo) {
  CheckPointer(pInfo, E_POINTER);
  const size_t n = std::min<size_t>(m_pName.size(), MAX_FILTER_NAME - 1);
  std::copy_n(m_pName.c_str(), n, pInfo->achName);
  pInfo->achName[n] = L'\0';
  pInfo->pGraph = m_pGraph;
  if (m_pGraph) m_pGraph->AddRef();
  return S_OK;
}

STDMETHODIMP CBaseFilter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) {
  CAutoLock lock(m_pLock);
  m_pGraph = pGraph;
  m_pSink = nullptr;
  if (pGraph) {
    // Kept without a reference: the graph outlives its filters' membership.
    if (SUCCEEDED(pGraph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&m_pSink)))) m_pSink->Release();
    m_pName = pName ? pName : L"";
  } else {
    m_pName.clear();
  }
  return S_OK;
}

STDMETHODIMP CBaseFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

BOOL CBaseFilter::IsActive() {
  CAutoLock lock(m_pLock);
  return m_State == State_Paused || m_State == State_Running;
}

BOOL CBaseFilter::IsStopped() { return m_State == State_Stopped; }

HRESULT CBaseFilter::StreamTime(REFERENCE_TIME& rtStream) {
  if (!m_pClock) return VFW_E_NO_CLOCK;
  REFERENCE_TIME now = 0;
  const HRESULT hr = m_pClock->GetTime(&now);
  if (FAILED(hr)) return hr;
  rtStream = now - m_tStart;
  return S_OK;
}

HRESULT CBaseFilter::NotifyEvent(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) {
  IMediaEventSink* sink = m_pSink;
  if (!sink) return E_NOTIMPL;
  if (EventCode == EC_COMPLETE) EventParam2 = reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this));
  return sink->Notify(EventCode, EventParam1, EventParam2);
}
