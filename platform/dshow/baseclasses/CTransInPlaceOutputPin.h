// The output pin of a CTransInPlaceFilter: offers the input's type and allocator.
#pragma once

#include <dshow/baseclasses/CTransformOutputPin.h>

class CTransInPlaceFilter;

class CTransInPlaceOutputPin : public CTransformOutputPin {
 public:
  CTransInPlaceOutputPin(const char* pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr, LPCWSTR pName);

  HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override;
  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  IMemAllocator* PeekAllocator() const { return m_pAllocator; }
  IMemInputPin* ConnectedIMemInputPin() const { return m_pInputPin; }

 protected:
  CTransInPlaceFilter* m_pTIPFilter;
};
