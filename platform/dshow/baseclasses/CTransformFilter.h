// A filter with one input and one output that turns each input sample into an output
// sample (Transform), in a buffer of the output's own allocator. The derived filter says
// which input types it takes (CheckInputType), which output types it makes from them
// (CheckTransform, GetMediaType) and how large its buffers are (DecideBufferSize).
//
// Two locks: m_csFilter for state and connections, m_csReceive held through each
// Receive, so Stop can wait for the sample in flight without stopping other callers.
// The streaming state (m_bSampleSkipped, m_bQualityChanged) belongs to m_csReceive.
// Pins are made on first use by GetPin, through MakeInputPin and MakeOutputPin, so a
// derived filter can make its own kinds.
#pragma once

#include <dshow/baseclasses/CBaseFilter.h>
#include <dshow/baseclasses/CMediaType.h>

class CTransformInputPin;
class CTransformOutputPin;

class CTransformFilter : public CBaseFilter {
 public:
  CTransformFilter(const char* pName, LPUNKNOWN pUnk, REFCLSID clsid);
  ~CTransformFilter() override;

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int n) override;
  STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;

  // What a derived filter provides.
  virtual HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut);
  virtual HRESULT CheckInputType(const CMediaType* mtIn) = 0;
  virtual HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) = 0;
  virtual HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) = 0;
  virtual HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) = 0;

  // Optional hooks.
  virtual HRESULT StartStreaming() { return S_OK; }
  virtual HRESULT StopStreaming() { return S_OK; }
  virtual HRESULT AlterQuality(Quality) { return S_FALSE; }
  virtual HRESULT SetMediaType(PIN_DIRECTION, const CMediaType*) { return S_OK; }
  virtual HRESULT CheckConnect(PIN_DIRECTION, IPin*) { return S_OK; }
  virtual HRESULT BreakConnect(PIN_DIRECTION) { return S_OK; }
  virtual HRESULT CompleteConnect(PIN_DIRECTION, IPin*) { return S_OK; }

  // Streaming, reached through the input pin.
  virtual HRESULT Receive(IMediaSample* pSample);
  virtual HRESULT EndOfStream();
  virtual HRESULT BeginFlush();
  virtual HRESULT EndFlush();
  virtual HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate);

  CCritSec* pStateLock() { return &m_csFilter; }

 protected:
  // An output buffer with the input sample's times and flags.
  HRESULT InitializeOutputSample(IMediaSample* pSample, IMediaSample** ppOutSample);

  // The pins GetPin makes, input first (null when out of memory).
  virtual CTransformInputPin* MakeInputPin();
  virtual CTransformOutputPin* MakeOutputPin();

  friend class CTransformInputPin;
  friend class CTransformOutputPin;

  BOOL m_bEOSDelivered = FALSE;
  BOOL m_bSampleSkipped = FALSE;
  BOOL m_bQualityChanged = FALSE;
  CCritSec m_csFilter;
  CCritSec m_csReceive;
  CTransformInputPin* m_pInput = nullptr;
  CTransformOutputPin* m_pOutput = nullptr;

 private:
  // Makes both pins, or neither.
  bool MakePins();
};
