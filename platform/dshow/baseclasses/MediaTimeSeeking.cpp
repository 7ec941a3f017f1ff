#include <dshow/baseclasses/MediaTimeSeeking.h>

#include <dshow/baseclasses/checks.h>
#include <dshow/uuids.h>

namespace plat {

namespace {
// A missing format in a conversion stands for the current one, which is media time.
bool isMediaTime(const GUID* format) { return !format || *format == TIME_FORMAT_MEDIA_TIME; }
}  // namespace

STDMETHODIMP MediaTimeSeeking::CheckCapabilities(DWORD* pCapabilities) {
  CheckPointer(pCapabilities, E_POINTER);
  DWORD mine = 0;
  GetCapabilities(&mine);
  const DWORD asked = *pCapabilities;
  *pCapabilities &= mine;
  if (*pCapabilities == asked) return S_OK;
  return *pCapabilities ? S_FALSE : E_FAIL;
}

STDMETHODIMP MediaTimeSeeking::IsFormatSupported(const GUID* pFormat) {
  CheckPointer(pFormat, E_POINTER);
  return *pFormat == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
}

STDMETHODIMP MediaTimeSeeking::QueryPreferredFormat(GUID* pFormat) {
  CheckPointer(pFormat, E_POINTER);
  *pFormat = TIME_FORMAT_MEDIA_TIME;
  return S_OK;
}

STDMETHODIMP MediaTimeSeeking::GetTimeFormat(GUID* pFormat) { return QueryPreferredFormat(pFormat); }

STDMETHODIMP MediaTimeSeeking::IsUsingTimeFormat(const GUID* pFormat) { return IsFormatSupported(pFormat); }

STDMETHODIMP MediaTimeSeeking::SetTimeFormat(const GUID* pFormat) {
  CheckPointer(pFormat, E_POINTER);
  return *pFormat == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG;
}

STDMETHODIMP MediaTimeSeeking::ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                                 const GUID* pSourceFormat) {
  CheckPointer(pTarget, E_POINTER);
  if (!isMediaTime(pTargetFormat) || !isMediaTime(pSourceFormat)) return E_INVALIDARG;
  *pTarget = Source;
  return S_OK;
}

STDMETHODIMP MediaTimeSeeking::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
  if (pCurrent) GetCurrentPosition(pCurrent);
  if (pStop) return GetStopPosition(pStop);
  return S_OK;
}

STDMETHODIMP MediaTimeSeeking::GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) {
  if (pEarliest) *pEarliest = 0;
  if (pLatest) return GetDuration(pLatest);
  return S_OK;
}

STDMETHODIMP MediaTimeSeeking::GetPreroll(LONGLONG* pllPreroll) {
  CheckPointer(pllPreroll, E_POINTER);
  *pllPreroll = 0;
  return S_OK;
}

}  // namespace plat
