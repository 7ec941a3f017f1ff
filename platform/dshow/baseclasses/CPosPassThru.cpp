#include <dshow/baseclasses/CPosPassThru.h>

#include <new>

CPosPassThru::CPosPassThru(const char* pName, LPUNKNOWN pUnk, HRESULT* phr, IPin* pPin)
    : SecondsPosition(pName, pUnk, phr), m_pPin(pPin) {
  if (!pPin && phr) *phr = E_POINTER;
}

STDMETHODIMP CPosPassThru::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMediaSeeking) return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
  return CMediaPosition::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CPosPassThru::GetPeerSeeking(IMediaSeeking** ppMS) {
  *ppMS = nullptr;
  IPin* peer = nullptr;
  if (FAILED(m_pPin->ConnectedTo(&peer)) || !peer) return E_NOTIMPL;
  const HRESULT hr = peer->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(ppMS));
  peer->Release();
  return FAILED(hr) ? E_NOTIMPL : S_OK;
}

template <class Call>
HRESULT CPosPassThru::forward(Call call) {
  IMediaSeeking* peer = nullptr;
  const HRESULT hr = GetPeerSeeking(&peer);
  if (FAILED(hr)) return hr;
  const HRESULT result = call(peer);
  peer->Release();
  return result;
}

STDMETHODIMP CPosPassThru::GetCapabilities(DWORD* p) { return forward([&](IMediaSeeking* s) { return s->GetCapabilities(p); }); }
STDMETHODIMP CPosPassThru::CheckCapabilities(DWORD* p) { return forward([&](IMediaSeeking* s) { return s->CheckCapabilities(p); }); }
STDMETHODIMP CPosPassThru::IsFormatSupported(const GUID* p) { return forward([&](IMediaSeeking* s) { return s->IsFormatSupported(p); }); }
STDMETHODIMP CPosPassThru::QueryPreferredFormat(GUID* p) { return forward([&](IMediaSeeking* s) { return s->QueryPreferredFormat(p); }); }
STDMETHODIMP CPosPassThru::GetTimeFormat(GUID* p) { return forward([&](IMediaSeeking* s) { return s->GetTimeFormat(p); }); }
STDMETHODIMP CPosPassThru::IsUsingTimeFormat(const GUID* p) { return forward([&](IMediaSeeking* s) { return s->IsUsingTimeFormat(p); }); }
STDMETHODIMP CPosPassThru::SetTimeFormat(const GUID* p) { return forward([&](IMediaSeeking* s) { return s->SetTimeFormat(p); }); }
STDMETHODIMP CPosPassThru::GetDuration(LONGLONG* p) { return forward([&](IMediaSeeking* s) { return s->GetDuration(p); }); }
STDMETHODIMP CPosPassThru::GetStopPosition(LONGLONG* p) { return forward([&](IMediaSeeking* s) { return s->GetStopPosition(p); }); }
STDMETHODIMP CPosPassThru::GetCurrentPosition(LONGLONG* p) { return forward([&](IMediaSeeking* s) { return s->GetCurrentPosition(p); }); }
STDMETHODIMP CPosPassThru::ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                             const GUID* pSourceFormat) {
  return forward([&](IMediaSeeking* s) { return s->ConvertTimeFormat(pTarget, pTargetFormat, Source, pSourceFormat); });
}
STDMETHODIMP CPosPassThru::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) {
  return forward([&](IMediaSeeking* s) { return s->SetPositions(pCurrent, dwCurrentFlags, pStop, dwStopFlags); });
}
STDMETHODIMP CPosPassThru::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
  return forward([&](IMediaSeeking* s) { return s->GetPositions(pCurrent, pStop); });
}
STDMETHODIMP CPosPassThru::GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) {
  return forward([&](IMediaSeeking* s) { return s->GetAvailable(pEarliest, pLatest); });
}
STDMETHODIMP CPosPassThru::SetRate(double dRate) { return forward([&](IMediaSeeking* s) { return s->SetRate(dRate); }); }
STDMETHODIMP CPosPassThru::GetRate(double* p) { return forward([&](IMediaSeeking* s) { return s->GetRate(p); }); }
STDMETHODIMP CPosPassThru::GetPreroll(LONGLONG* p) { return forward([&](IMediaSeeking* s) { return s->GetPreroll(p); }); }

HRESULT CreatePosPassThru(LPUNKNOWN pAgg, BOOL, IPin* pPin, IUnknown** ppPassThru) {
  CheckPointer(ppPassThru, E_POINTER);
  *ppPassThru = nullptr;
  HRESULT hr = S_OK;
  auto* passThru = new (std::nothrow) CPosPassThru("Seeking pass-through", pAgg, &hr, pPin);
  if (!passThru) return E_OUTOFMEMORY;
  if (FAILED(hr)) {
    delete passThru;
    return hr;
  }
  return passThru->NonDelegatingQueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppPassThru));
}
