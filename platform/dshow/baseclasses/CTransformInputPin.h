// The input pin of a CTransformFilter: passes negotiation and streaming to its filter.
#pragma once

#include <dshow/baseclasses/CBaseInputPin.h>

class CTransformFilter;

class CTransformInputPin : public CBaseInputPin {
 public:
  CTransformInputPin(const char* pObjectName, CTransformFilter* pTransformFilter, HRESULT* phr, LPCWSTR pName);

  HRESULT CheckConnect(IPin* pPin) override;
  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(IPin* pReceivePin) override;
  HRESULT CheckMediaType(const CMediaType* mtIn) override;
  HRESULT SetMediaType(const CMediaType* mt) override;
  HRESULT CheckStreaming() override;

  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;
  STDMETHODIMP Receive(IMediaSample* pSample) override;

 protected:
  CTransformFilter* m_pTransformFilter;
};
