#include <dshow/baseclasses/CTransformFilter.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/baseclasses/CTransformOutputPin.h>

#include <new>
#include <string>

CTransformFilter::CTransformFilter(const char* pName, LPUNKNOWN pUnk, REFCLSID clsid)
    : CBaseFilter(pName, pUnk, &m_csFilter, clsid) {}

CTransformFilter::~CTransformFilter() {
  delete m_pInput;
  delete m_pOutput;
}

CBasePin* CTransformFilter::GetPin(int n) {
  if (!m_pInput && !MakePins()) return nullptr;
  if (n == 0) return m_pInput;
  if (n == 1) return m_pOutput;
  return nullptr;
}

bool CTransformFilter::MakePins() {
  m_pInput = MakeInputPin();
  if (!m_pInput) return false;
  m_pOutput = MakeOutputPin();
  if (m_pOutput) return true;
  delete m_pInput;
  m_pInput = nullptr;
  return false;
}

CTransformInputPin* CTransformFilter::MakeInputPin() {
  HRESULT hr = S_OK;
  return new (std::nothrow) CTransformInputPin("Transform input pin", this, &hr, L"XForm In");
}

CTransformOutputPin* CTransformFilter::MakeOutputPin() {
  HRESULT hr = S_OK;
  return new (std::nothrow) CTransformOutputPin("Transform output pin", this, &hr, L"XForm Out");
}

STDMETHODIMP CTransformFilter::FindPin(LPCWSTR Id, IPin** ppPin) {
  CheckPointer(Id, E_POINTER);
  CheckPointer(ppPin, E_POINTER);
  const std::wstring id(Id);
  CBasePin* pin = id == L"In" ? GetPin(0) : id == L"Out" ? GetPin(1) : nullptr;
  if (!pin) return CBaseFilter::FindPin(Id, ppPin);
  *ppPin = pin;
  pin->AddRef();
  return S_OK;
}

STDMETHODIMP CTransformFilter::Stop() {
  CAutoLock lockFilter(&m_csFilter);
  if (m_State == State_Stopped) return S_OK;
  GetPin(0);
  if (!m_pInput->IsConnected() || !m_pOutput->IsConnected()) {
    m_State = State_Stopped;
    m_bEOSDelivered = FALSE;
    return S_OK;
  }
  // Refuse new samples first, then wait for the one in flight.
  m_pInput->Inactive();
  CAutoLock lockReceive(&m_csReceive);
  m_pOutput->Inactive();
  const HRESULT hr = StopStreaming();
  if (SUCCEEDED(hr)) {
    m_State = State_Stopped;
    m_bEOSDelivered = FALSE;
  }
  return hr;
}

STDMETHODIMP CTransformFilter::Pause() {
  CAutoLock lockFilter(&m_csFilter);
  GetPin(0);
  HRESULT hr = S_OK;
  if (m_State == State_Paused) {
  } else if (!m_pInput->IsConnected()) {
    // Nothing will ever arrive: tell downstream at once.
    if (m_pOutput->IsConnected() && !m_bEOSDelivered) {
      m_pOutput->DeliverEndOfStream();
      m_bEOSDelivered = TRUE;
    }
    m_State = State_Paused;
  } else if (!m_pOutput->IsConnected()) {
    m_State = State_Paused;
  } else {
    if (m_State == State_Stopped) {
      // No sample is in flight while stopped, so the receive lock is free at once. From
      // running it is not: the streaming thread holds it while a paused renderer keeps
      // its sample, which is why the flags are only reset here, as streaming starts.
      CAutoLock lockReceive(&m_csReceive);
      m_bSampleSkipped = FALSE;
      m_bQualityChanged = FALSE;
      hr = StartStreaming();
    }
    if (SUCCEEDED(hr)) hr = CBaseFilter::Pause();
  }
  return hr;
}

HRESULT CTransformFilter::Transform(IMediaSample*, IMediaSample*) { return E_UNEXPECTED; }

HRESULT CTransformFilter::InitializeOutputSample(IMediaSample* pSample, IMediaSample** ppOutSample) {
  *ppOutSample = nullptr;
  REFERENCE_TIME start = 0;
  REFERENCE_TIME end = 0;
  const bool timed = SUCCEEDED(pSample->GetTime(&start, &end));
  const DWORD flags = m_bSampleSkipped ? AM_GBF_PREVFRAMESKIPPED : 0;
  IMediaSample* out = nullptr;
  HRESULT hr = m_pOutput->GetDeliveryBuffer(&out, timed ? &start : nullptr, timed ? &end : nullptr, flags);
  if (FAILED(hr)) return hr;
  if (timed) out->SetTime(&start, &end);
  else out->SetTime(nullptr, nullptr);
  out->SetSyncPoint(pSample->IsSyncPoint() == S_OK);
  out->SetPreroll(pSample->IsPreroll() == S_OK);
  out->SetDiscontinuity(m_bSampleSkipped || pSample->IsDiscontinuity() == S_OK);
  LONGLONG mediaStart = 0;
  LONGLONG mediaEnd = 0;
  if (SUCCEEDED(pSample->GetMediaTime(&mediaStart, &mediaEnd))) out->SetMediaTime(&mediaStart, &mediaEnd);
  *ppOutSample = out;
  return S_OK;
}

HRESULT CTransformFilter::Receive(IMediaSample* pSample) {
  IMediaSample* out = nullptr;
  HRESULT hr = InitializeOutputSample(pSample, &out);
  if (FAILED(hr)) return hr;
  hr = Transform(pSample, out);
  if (hr == S_OK) {
    hr = m_pOutput->Deliver(out);
    m_bSampleSkipped = FALSE;
  } else if (hr == S_FALSE) {
    // The filter dropped this sample; the next one starts a discontinuity.
    m_bSampleSkipped = TRUE;
    hr = S_OK;
  }
  out->Release();
  return hr;
}

HRESULT CTransformFilter::EndOfStream() {
  if (!m_pOutput || !m_pOutput->IsConnected()) return S_OK;
  m_bEOSDelivered = TRUE;
  return m_pOutput->DeliverEndOfStream();
}

HRESULT CTransformFilter::BeginFlush() { return m_pOutput ? m_pOutput->DeliverBeginFlush() : S_OK; }

HRESULT CTransformFilter::EndFlush() { return m_pOutput ? m_pOutput->DeliverEndFlush() : S_OK; }

HRESULT CTransformFilter::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
  return m_pOutput && m_pOutput->IsConnected() ? m_pOutput->DeliverNewSegment(tStart, tStop, dRate) : S_OK;
}
