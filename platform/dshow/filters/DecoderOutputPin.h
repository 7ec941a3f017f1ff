// A decoder's output pin: as the transform output pin, and seeking passes through the
// decoder to the parser upstream of its input.
#pragma once

#include <com/ComPtr.h>
#include <dshow/baseclasses/CTransformOutputPin.h>

namespace plat {

class DecoderOutputPin : public CTransformOutputPin {
 public:
  DecoderOutputPin(CTransformFilter* filter, IPin* input, HRESULT* phr);

  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

 private:
  IPin* m_input;  // the filter's input pin (weak: both belong to the filter)
  ComPtr<IUnknown> m_seeking;
};

}  // namespace plat
