#include <dshow/filters/DecoderOutputPin.h>

#include <dshow/baseclasses/CPosPassThru.h>

#include <new>

namespace plat {

DecoderOutputPin::DecoderOutputPin(CTransformFilter* filter, IPin* input, HRESULT* phr)
    : CTransformOutputPin("Decoder output pin", filter, phr, L"XForm Out"), m_input(input) {}

bool DecoderOutputPin::makePins(CTransformFilter* filter, CTransformInputPin*& input, CTransformOutputPin*& output) {
  if (input) return true;
  HRESULT hr = S_OK;
  input = new (std::nothrow) CTransformInputPin("Decoder input pin", filter, &hr, L"XForm In");
  if (!input) return false;
  output = new (std::nothrow) DecoderOutputPin(filter, input, &hr);
  if (output) return true;
  delete input;
  input = nullptr;
  return false;
}

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
