#include <dshow/baseclasses/CTransformOutputPin.h>

#include <dshow/baseclasses/CTransformFilter.h>
#include <dshow/baseclasses/CTransformInputPin.h>

CTransformOutputPin::CTransformOutputPin(const char* pObjectName, CTransformFilter* pTransformFilter, HRESULT* phr,
                                         LPCWSTR pName)
    : CBaseOutputPin(pObjectName, pTransformFilter, &pTransformFilter->m_csFilter, phr, pName),
      m_pTransformFilter(pTransformFilter) {}

HRESULT CTransformOutputPin::CheckConnect(IPin* pPin) {
  // The output types come from the input's: connect the input first.
  if (!m_pTransformFilter->m_pInput->IsConnected()) return E_UNEXPECTED;
  const HRESULT hr = m_pTransformFilter->CheckConnect(PINDIR_OUTPUT, pPin);
  if (FAILED(hr)) return hr;
  return CBaseOutputPin::CheckConnect(pPin);
}

HRESULT CTransformOutputPin::BreakConnect() {
  m_pTransformFilter->BreakConnect(PINDIR_OUTPUT);
  return CBaseOutputPin::BreakConnect();
}

HRESULT CTransformOutputPin::CompleteConnect(IPin* pReceivePin) {
  const HRESULT hr = m_pTransformFilter->CompleteConnect(PINDIR_OUTPUT, pReceivePin);
  if (FAILED(hr)) return hr;
  return CBaseOutputPin::CompleteConnect(pReceivePin);
}

HRESULT CTransformOutputPin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp) {
  return m_pTransformFilter->DecideBufferSize(pAlloc, pProp);
}

HRESULT CTransformOutputPin::CheckMediaType(const CMediaType* mtOut) {
  CTransformInputPin* input = m_pTransformFilter->m_pInput;
  if (!input->IsConnected()) return E_INVALIDARG;
  return m_pTransformFilter->CheckTransform(&input->CurrentMediaType(), mtOut);
}

HRESULT CTransformOutputPin::SetMediaType(const CMediaType* pmt) {
  const HRESULT hr = CBasePin::SetMediaType(pmt);
  if (FAILED(hr)) return hr;
  return m_pTransformFilter->SetMediaType(PINDIR_OUTPUT, pmt);
}

HRESULT CTransformOutputPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (!m_pTransformFilter->m_pInput->IsConnected()) return VFW_S_NO_MORE_ITEMS;
  return m_pTransformFilter->GetMediaType(iPosition, pMediaType);
}

STDMETHODIMP CTransformOutputPin::Notify(IBaseFilter*, Quality q) {
  // The filter may handle a quality message itself; otherwise it goes upstream.
  if (m_pTransformFilter->AlterQuality(q) != S_FALSE) return S_OK;
  IPin* upstream = m_pTransformFilter->m_pInput->GetConnected();
  if (!upstream) return VFW_E_NOT_FOUND;
  IQualityControl* quality = nullptr;
  if (FAILED(upstream->QueryInterface(IID_IQualityControl, reinterpret_cast<void**>(&quality)))) return VFW_E_NOT_FOUND;
  const HRESULT hr = quality->Notify(m_pTransformFilter, q);
  quality->Release();
  return hr;
}
