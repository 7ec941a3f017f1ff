#include <dshow/baseclasses/CTransformInputPin.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CTransformFilter.h>
#include <dshow/baseclasses/CTransformOutputPin.h>

CTransformInputPin::CTransformInputPin(const char* pObjectName, CTransformFilter* pTransformFilter, HRESULT* phr,
                                       LPCWSTR pName)
    : CBaseInputPin(pObjectName, pTransformFilter, &pTransformFilter->m_csFilter, phr, pName),
      m_pTransformFilter(pTransformFilter) {}

HRESULT CTransformInputPin::CheckConnect(IPin* pPin) {
  const HRESULT hr = m_pTransformFilter->CheckConnect(PINDIR_INPUT, pPin);
  if (FAILED(hr)) return hr;
  return CBaseInputPin::CheckConnect(pPin);
}

HRESULT CTransformInputPin::BreakConnect() {
  m_pTransformFilter->BreakConnect(PINDIR_INPUT);
  return CBaseInputPin::BreakConnect();
}

HRESULT CTransformInputPin::CompleteConnect(IPin* pReceivePin) {
  const HRESULT hr = m_pTransformFilter->CompleteConnect(PINDIR_INPUT, pReceivePin);
  if (FAILED(hr)) return hr;
  return CBaseInputPin::CompleteConnect(pReceivePin);
}

HRESULT CTransformInputPin::CheckMediaType(const CMediaType* mtIn) {
  HRESULT hr = m_pTransformFilter->CheckInputType(mtIn);
  if (hr != S_OK) return hr;
  CTransformOutputPin* output = m_pTransformFilter->m_pOutput;
  if (output && output->IsConnected()) hr = m_pTransformFilter->CheckTransform(mtIn, &output->CurrentMediaType());
  return hr;
}

HRESULT CTransformInputPin::SetMediaType(const CMediaType* mt) {
  const HRESULT hr = CBasePin::SetMediaType(mt);
  if (FAILED(hr)) return hr;
  return m_pTransformFilter->SetMediaType(PINDIR_INPUT, mt);
}

HRESULT CTransformInputPin::CheckStreaming() {
  CTransformOutputPin* output = m_pTransformFilter->m_pOutput;
  if (!output || !output->IsConnected()) return VFW_E_NOT_CONNECTED;
  return CBaseInputPin::CheckStreaming();
}

STDMETHODIMP CTransformInputPin::EndOfStream() {
  CAutoLock lock(&m_pTransformFilter->m_csReceive);
  const HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr;
  return m_pTransformFilter->EndOfStream();
}

STDMETHODIMP CTransformInputPin::BeginFlush() {
  CAutoLock lock(&m_pTransformFilter->m_csFilter);
  CTransformOutputPin* output = m_pTransformFilter->m_pOutput;
  if (!IsConnected() || !output || !output->IsConnected()) return VFW_E_NOT_CONNECTED;
  const HRESULT hr = CBaseInputPin::BeginFlush();
  if (FAILED(hr)) return hr;
  return m_pTransformFilter->BeginFlush();
}

STDMETHODIMP CTransformInputPin::EndFlush() {
  CAutoLock lock(&m_pTransformFilter->m_csFilter);
  CTransformOutputPin* output = m_pTransformFilter->m_pOutput;
  if (!IsConnected() || !output || !output->IsConnected()) return VFW_E_NOT_CONNECTED;
  const HRESULT hr = m_pTransformFilter->EndFlush();
  if (FAILED(hr)) return hr;
  return CBaseInputPin::EndFlush();
}

STDMETHODIMP CTransformInputPin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
  CBasePin::NewSegment(tStart, tStop, dRate);
  return m_pTransformFilter->NewSegment(tStart, tStop, dRate);
}

STDMETHODIMP CTransformInputPin::Receive(IMediaSample* pSample) {
  CAutoLock lock(&m_pTransformFilter->m_csReceive);
  const HRESULT hr = CBaseInputPin::Receive(pSample);
  if (hr != S_OK) return hr;
  return m_pTransformFilter->Receive(pSample);
}
