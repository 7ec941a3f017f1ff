// Seeking through a filter that does not seek itself: IMediaSeeking and IMediaPosition
// calls go to the pin upstream of the given input pin (its connected peer). Positions in
// IMediaPosition are seconds; they are converted to and from the peer's 100-ns units.
// E_NOTIMPL when the input is not connected or the peer cannot seek.
#pragma once

#include <dshow/baseclasses/CMediaPosition.h>
#include <dshow/baseclasses/SecondsPosition.h>

class CPosPassThru : public plat::SecondsPosition<CMediaPosition>, public IMediaSeeking {
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

 protected:
  // The upstream pin's IMediaSeeking with a reference, or E_NOTIMPL.
  HRESULT GetPeerSeeking(IMediaSeeking** ppMS);
  IMediaSeeking& seekingInUnits() override { return *this; }

 private:
  template <class Call>
  HRESULT forward(Call call);

  IPin* m_pPin;  // the input pin whose upstream is asked (weak: it owns this object)
};

// Makes a pass-through aggregated by pAgg for the input pin and returns its inner
// unknown. bRenderer asks for the renderer's flavour, which behaves the same here.
HRESULT CreatePosPassThru(LPUNKNOWN pAgg, BOOL bRenderer, IPin* pPin, IUnknown** ppPassThru);
