// The base of every pin: connection and media-type negotiation, the connected peer and
// type, pin information, and the streaming notifications' defaults. A pin has no
// reference count of its own: AddRef and Release go to its filter, so a pin lives as
// long as the filter does.
//
// Negotiation: the output pin's Connect tries the given type when it is complete, else
// the input's preferred types and then its own (its own first with m_bTryMyTypesFirst),
// each through CheckConnect, CheckMediaType (exactly S_OK accepts), SetMediaType, the
// peer's ReceiveConnection and CompleteConnect; any failure undoes the connection and
// calls BreakConnect.
#pragma once

#include <dshow/baseclasses/CBaseFilter.h>
#include <dshow/baseclasses/CMediaType.h>

#include <atomic>

class CBasePin : public CUnknown, public IPin, public IQualityControl {
 public:
  CBasePin(const char* pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, LPCWSTR pName,
           PIN_DIRECTION dir);
  ~CBasePin() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) NonDelegatingAddRef() override;
  STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

  // IPin
  STDMETHODIMP Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP Disconnect() override;
  STDMETHODIMP ConnectedTo(IPin** pPin) override;
  STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP QueryPinInfo(PIN_INFO* pInfo) override;
  STDMETHODIMP QueryDirection(PIN_DIRECTION* pPinDir) override;
  STDMETHODIMP QueryId(LPWSTR* Id) override;
  STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
  STDMETHODIMP QueryInternalConnections(IPin** apPin, ULONG* nPin) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override = 0;
  STDMETHODIMP EndFlush() override = 0;
  STDMETHODIMP NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

  // IQualityControl
  STDMETHODIMP Notify(IBaseFilter* pSelf, Quality q) override;
  STDMETHODIMP SetSink(IQualityControl* piqc) override;

  // Overridables of negotiation.
  virtual HRESULT CheckMediaType(const CMediaType* pmt) = 0;
  virtual HRESULT SetMediaType(const CMediaType* pmt);
  virtual HRESULT CheckConnect(IPin* pPin);
  virtual HRESULT BreakConnect();
  virtual HRESULT CompleteConnect(IPin* pReceivePin);
  // The pin's preferred types by position; VFW_S_NO_MORE_ITEMS past the last.
  virtual HRESULT GetMediaType(int iPosition, CMediaType* pMediaType);
  virtual LONG GetMediaTypeVersion() { return m_TypeVersion; }
  void IncrementTypeVersion() { ++m_TypeVersion; }

  // State changes of the filter, reaching the connected pins.
  virtual HRESULT Active() { return S_OK; }
  virtual HRESULT Inactive() { return S_OK; }
  virtual HRESULT Run(REFERENCE_TIME) { return S_OK; }

  BOOL IsConnected() const { return m_Connected != nullptr; }
  IPin* GetConnected() { return m_Connected; }
  BOOL IsStopped() { return m_pFilter->IsStopped(); }
  LPCWSTR Name() const { return m_pName.c_str(); }
  CMediaType& CurrentMediaType() { return m_mt; }

 protected:
  HRESULT DisconnectInternal();
  HRESULT AgreeMediaType(IPin* pReceivePin, const CMediaType* pmt);
  HRESULT TryMediaTypes(IPin* pReceivePin, const CMediaType* pmt, IEnumMediaTypes* pEnum);
  HRESULT AttemptConnection(IPin* pReceivePin, const CMediaType* pmt);

  std::wstring m_pName;
  IPin* m_Connected = nullptr;  // counted
  PIN_DIRECTION m_dir;
  CCritSec* m_pLock;
  std::atomic<bool> m_bRunTimeError{false};
  bool m_bCanReconnectWhenActive = false;
  bool m_bTryMyTypesFirst = false;
  CBaseFilter* m_pFilter;
  IQualityControl* m_pQSink = nullptr;  // weak
  LONG m_TypeVersion = 1;
  CMediaType m_mt;
  REFERENCE_TIME m_tStart = 0;
  REFERENCE_TIME m_tStop = 0x7FFFFFFFFFFFFFFFLL;
  double m_dRate = 1.0;
};
