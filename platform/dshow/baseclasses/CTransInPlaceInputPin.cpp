#include <dshow/baseclasses/CTransInPlaceInputPin.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CTransInPlaceFilter.h>
#include <dshow/baseclasses/CTransInPlaceOutputPin.h>

CTransInPlaceInputPin::CTransInPlaceInputPin(const char* pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr,
                                             LPCWSTR pName)
    : CTransformInputPin(pObjectName, pFilter, phr, pName), m_pTIPFilter(pFilter) {}

STDMETHODIMP CTransInPlaceInputPin::GetAllocator(IMemAllocator** ppAllocator) {
  CheckPointer(ppAllocator, E_POINTER);
  CAutoLock lock(m_pLock);
  auto* output = static_cast<CTransInPlaceOutputPin*>(m_pTIPFilter->m_pOutput);
  if (output && output->IsConnected() && output->ConnectedIMemInputPin()) {
    // The downstream buffers, so the samples pass through untouched.
    return output->ConnectedIMemInputPin()->GetAllocator(ppAllocator);
  }
  return CTransformInputPin::GetAllocator(ppAllocator);
}

HRESULT CTransInPlaceInputPin::CheckMediaType(const CMediaType* pmt) {
  HRESULT hr = m_pTIPFilter->CheckInputType(pmt);
  if (hr != S_OK) return hr;
  CBasePin* output = m_pTIPFilter->m_pOutput;
  if (output && output->IsConnected()) return output->GetConnected()->QueryAccept(pmt);
  return S_OK;
}
