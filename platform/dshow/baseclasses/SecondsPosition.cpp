#include <dshow/baseclasses/SecondsPosition.h>

#include <dshow/baseclasses/CMediaPosition.h>
#include <dshow/baseclasses/checks.h>

namespace plat {

namespace {
constexpr double kUnitsPerSecond = 10'000'000.0;
LONGLONG toUnits(REFTIME seconds) { return static_cast<LONGLONG>(seconds * kUnitsPerSecond); }
REFTIME toSeconds(LONGLONG units) { return static_cast<double>(units) / kUnitsPerSecond; }
}  // namespace

template <class Position>
template <class Read>
HRESULT SecondsPosition<Position>::readSeconds(REFTIME* seconds, Read read) {
  CheckPointer(seconds, E_POINTER);
  LONGLONG units = 0;
  const HRESULT hr = read(seekingInUnits(), &units);
  *seconds = toSeconds(units);
  return hr;
}

template <class Position>
HRESULT SecondsPosition<Position>::canSeek(DWORD capability, LONG* pCan) {
  CheckPointer(pCan, E_POINTER);
  DWORD caps = capability;
  *pCan = seekingInUnits().CheckCapabilities(&caps) == S_OK ? OATRUE : OAFALSE;
  return S_OK;
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::get_Duration(REFTIME* plength) {
  return readSeconds(plength, [](IMediaSeeking& s, LONGLONG* units) { return s.GetDuration(units); });
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::put_CurrentPosition(REFTIME llTime) {
  LONGLONG units = toUnits(llTime);
  return seekingInUnits().SetPositions(&units, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::get_CurrentPosition(REFTIME* pllTime) {
  return readSeconds(pllTime, [](IMediaSeeking& s, LONGLONG* units) { return s.GetCurrentPosition(units); });
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::get_StopTime(REFTIME* pllTime) {
  return readSeconds(pllTime, [](IMediaSeeking& s, LONGLONG* units) { return s.GetStopPosition(units); });
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::put_StopTime(REFTIME llTime) {
  LONGLONG units = toUnits(llTime);
  return seekingInUnits().SetPositions(nullptr, AM_SEEKING_NoPositioning, &units, AM_SEEKING_AbsolutePositioning);
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::get_PrerollTime(REFTIME* pllTime) {
  return readSeconds(pllTime, [](IMediaSeeking& s, LONGLONG* units) { return s.GetPreroll(units); });
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::put_PrerollTime(REFTIME) {
  return E_NOTIMPL;
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::put_Rate(double dRate) {
  return seekingInUnits().SetRate(dRate);
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::get_Rate(double* pdRate) {
  return seekingInUnits().GetRate(pdRate);
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::CanSeekForward(LONG* pCanSeekForward) {
  return canSeek(AM_SEEKING_CanSeekForwards, pCanSeekForward);
}

template <class Position>
STDMETHODIMP SecondsPosition<Position>::CanSeekBackward(LONG* pCanSeekBackward) {
  return canSeek(AM_SEEKING_CanSeekBackwards, pCanSeekBackward);
}

// The two bases it is used on: a graph part's bare interface and the base class.
template class SecondsPosition<IMediaPosition>;
template class SecondsPosition<CMediaPosition>;

}  // namespace plat
