// The input pin of a CTransInPlaceFilter: offers the downstream allocator upstream and
// accepts only types the downstream pin accepts too.
#pragma once

#include <dshow/baseclasses/CTransformInputPin.h>

class CTransInPlaceFilter;

class CTransInPlaceInputPin : public CTransformInputPin {
 public:
  CTransInPlaceInputPin(const char* pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr, LPCWSTR pName);

  STDMETHODIMP GetAllocator(IMemAllocator** ppAllocator) override;
  HRESULT CheckMediaType(const CMediaType* pmt) override;
  IMemAllocator* PeekAllocator() const { return m_pAllocator; }

 protected:
  CTransInPlaceFilter* m_pTIPFilter;
};
