// The output pin of a CTransformFilter: offers the filter's output types once the input
// is connected and asks the filter for buffer sizes.
#pragma once

#include <dshow/baseclasses/CBaseOutputPin.h>

class CTransformFilter;

class CTransformOutputPin : public CBaseOutputPin {
 public:
  CTransformOutputPin(const char* pObjectName, CTransformFilter* pTransformFilter, HRESULT* phr, LPCWSTR pName);

  HRESULT CheckConnect(IPin* pPin) override;
  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(IPin* pReceivePin) override;
  HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp) override;
  HRESULT CheckMediaType(const CMediaType* mtOut) override;
  HRESULT SetMediaType(const CMediaType* pmt) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  STDMETHODIMP Notify(IBaseFilter* pSender, Quality q) override;

 protected:
  CTransformFilter* m_pTransformFilter;
};
