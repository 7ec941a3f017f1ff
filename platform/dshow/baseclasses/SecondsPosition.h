// IMediaPosition answered by the object's own IMediaSeeking: positions in seconds,
// converted to and from its 100-ns units; the preroll is read from it but cannot be set.
// `Position` is the IMediaPosition base the object has otherwise: the interface itself,
// or CMediaPosition with its IUnknown and dispatch. A position read back is written even
// when the seeking call fails (zero unless that call wrote one), so a caller that does
// not check never reads an unset value.
#pragma once

#include <dshow/control.h>
#include <dshow/strmif.h>

namespace plat {

template <class Position>
class SecondsPosition : public Position {
 public:
  using Position::Position;

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
  // The seeking interface whose units the positions are kept in.
  virtual IMediaSeeking& seekingInUnits() = 0;

 private:
  template <class Read>
  HRESULT readSeconds(REFTIME* seconds, Read read);
  HRESULT canSeek(DWORD capability, LONG* pCan);
};

}  // namespace plat
