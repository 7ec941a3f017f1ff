// Seeking through a filter that does not seek itself: IMediaSeeking and IMediaPosition
// calls go to the pin upstream of the given input pin (its connected peer). Positions in
// IMediaPosition are seconds; they are converted to and from the peer's 100-ns units.
// E_NOTIMPL when the input is not connected or the peer cannot seek.
#pragma once

#include <dshow/baseclasses/CMediaPosition.h>

class CPosPassThru : public CMediaPosition, public IMediaSeeking {
 public:
  CPosPassThru(const char* pName, LPUNKNOWN pUnk, HRESULT* phr, IPin* pPin);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // IMediaSeeking
  STDMETHODIMP GetCapabilities(DWORD* pCapabilities) override;
  STDMETHODIMP CheckCapabilities(DWORD* pCapabilities) override;
  STDMETHODIMP IsFormatSupported(const GUID* pFormat) override;
  STDMETHODIMP QueryPreferredFormat(GUID* pFormat) override;
  STDMETHODIMP GetTimeFormat(GUID* pFormat) override;
  STDMETHODIMP IsUsingTimeFormat(const GUID* pFormat) override;
  STDMETHODIMP SetTimeFormat(const GUID* pFormat) override;
  STDMETHODIMP GetDuration(LONGLONG* pDuration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* pStop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* pCurrent) override;
  STDMETHODIMP ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                 const GUID* pSourceFormat) override;
  STDMETHODIMP SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) override;
  STDMETHODIMP GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) override;
  STDMETHODIMP GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) override;
  STDMETHODIMP SetRate(double dRate) override;
  STDMETHODIMP GetRate(double* pdRate) override;
  STDMETHODIMP GetPreroll(LONGLONG* pllPreroll) override;

  // IMediaPosition
  STDMETHODIMP get_Duration(REFTIME* plength) override;
  STDMETHODIMP put_CurrentPosition(REFTIME llTime) override;
  STDMETHODIMP get_CurrentPosition(REFTIME* pllTime) override;
  STDMETHODIMP get_StopTime(REFTIME* pllTime) override;
  STDMETHODIMP put_StopTime(REFTIME llTime) override;
  STDMETHODIMP get_PrerollTime(REFTIME* pllTime) override;
  STDMETHODIMP put_PrerollTime(REFTIME llTime) override;
  STDMETHODIMP put_Rate(double dRate) override;
  STDMETHODIMP get_Rate(double* pdRate) override;
  STDMETHODIMP CanSeekForward(LONG* pCanSeekForward) override;
  STDMETHODIMP CanSeekBackward(LONG* pCanSeekBackward) override;

 protected:
  // The upstream pin's IMediaSeeking with a reference, or E_NOTIMPL.
  HRESULT GetPeerSeeking(IMediaSeeking** ppMS);

 private:
  template <class Call>
  HRESULT forward(Call call);

  IPin* m_pPin;  // the input pin whose upstream is asked (weak: it owns this object)
};

// Makes a pass-through aggregated by pAgg for the input pin and returns its inner
// unknown. bRenderer asks for the renderer's flavour, which behaves the same here.
HRESULT CreatePosPassThru(LPUNKNOWN pAgg, BOOL bRenderer, IPin* pPin, IUnknown** ppPassThru);
