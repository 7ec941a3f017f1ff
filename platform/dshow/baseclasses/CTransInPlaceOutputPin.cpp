#include <dshow/baseclasses/CTransInPlaceOutputPin.h>

#include <dshow/baseclasses/CTransInPlaceFilter.h>
#include <dshow/baseclasses/CTransInPlaceInputPin.h>

CTransInPlaceOutputPin::CTransInPlaceOutputPin(const char* pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr,
                                               LPCWSTR pName)
    : CTransformOutputPin(pObjectName, pFilter, phr, pName), m_pTIPFilter(pFilter) {}

HRESULT CTransInPlaceOutputPin::DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) {
  auto* input = static_cast<CTransInPlaceInputPin*>(m_pTIPFilter->m_pInput);
  IMemAllocator* upstream = input->PeekAllocator();
  // A filter that changes read-only samples works on copies, and the copies must come from
  // a pool of their own: drawn from the upstream pool they would compete with the samples
  // still held by the filter's upstream neighbours (a tee's other branches) and stall them.
  if (upstream && !(input->IsReadOnly() && m_pTIPFilter->m_bModifiesData)) {
    // Offer the input's allocator; samples stay read-only if they were.
    const BOOL readOnly = input->IsReadOnly();
    if (SUCCEEDED(pPin->NotifyAllocator(upstream, readOnly))) {
      upstream->AddRef();
      *ppAlloc = upstream;
      return S_OK;
    }
  }
  return CTransformOutputPin::DecideAllocator(pPin, ppAlloc);
}

HRESULT CTransInPlaceOutputPin::CheckMediaType(const CMediaType* pmt) {
  CBasePin* input = m_pTIPFilter->m_pInput;
  if (!input->IsConnected()) return VFW_E_NOT_CONNECTED;
  const HRESULT hr = m_pTIPFilter->CheckInputType(pmt);
  if (hr != S_OK) return hr;
  if (*pmt == input->CurrentMediaType()) return S_OK;
  return input->GetConnected()->QueryAccept(pmt);
}

HRESULT CTransInPlaceOutputPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
  CBasePin* input = m_pTIPFilter->m_pInput;
  if (!input->IsConnected()) return VFW_S_NO_MORE_ITEMS;
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  *pMediaType = input->CurrentMediaType();
  return S_OK;
}
