#include <dshow/filters/DecoderOutputPin.h>

#include <dshow/baseclasses/CPosPassThru.h>

#include <new>

namespace plat {

DecoderOutputPin::DecoderOutputPin(CTransformFilter* filter, IPin* input, HRESULT* phr)
    : CTransformOutputPin("Decoder output pin", filter, phr, L"XForm Out"), m_input(input) {}

STDMETHODIMP DecoderOutputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMediaSeeking || riid == IID_IMediaPosition) {
    if (!m_seeking) {
      const HRESULT hr = CreatePosPassThru(GetOwner(), FALSE, m_input, m_seeking.put());
      if (FAILED(hr)) return hr;
    }
    return m_seeking->QueryInterface(riid, ppv);
  }
  return CTransformOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

}  // namespace plat
