// IMediaSeeking for an object that keeps its positions in media time (100-ns units) and
// knows no other format: the format queries, time conversion, the capability check
// against GetCapabilities, the available range from zero to the duration, the two
// positions read one after the other, and no preroll. Positions, stop, duration, rate
// and capabilities stay with the derived class, which also supplies IUnknown.
#pragma once

#include <dshow/strmif.h>

namespace plat {

class MediaTimeSeeking : public IMediaSeeking {
 public:
  // The one format.
  STDMETHODIMP IsFormatSupported(const GUID* pFormat) override;
  STDMETHODIMP QueryPreferredFormat(GUID* pFormat) override;
  STDMETHODIMP GetTimeFormat(GUID* pFormat) override;
  STDMETHODIMP IsUsingTimeFormat(const GUID* pFormat) override;
  STDMETHODIMP SetTimeFormat(const GUID* pFormat) override;
  STDMETHODIMP ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                 const GUID* pSourceFormat) override;

  // Answered from the derived class's own answers.
  STDMETHODIMP CheckCapabilities(DWORD* pCapabilities) override;
  STDMETHODIMP GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) override;
  STDMETHODIMP GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) override;
  STDMETHODIMP GetPreroll(LONGLONG* pllPreroll) override;

 protected:
  MediaTimeSeeking() = default;
  ~MediaTimeSeeking() = default;
};

}  // namespace plat
