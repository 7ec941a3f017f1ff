// The graph's reference clock: the machine clock's shared time in 100-ns units, the
// same for every thread. Advise notifications are not offered (renderers and sources
// wait through ClockWait).
#pragma once

#include <dshow/baseclasses/CUnknown.h>
#include <dshow/strmif.h>

namespace plat {

class SystemClock : public CUnknown, public IReferenceClock {
 public:
  SystemClock(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP GetTime(REFERENCE_TIME* pTime) override;
  STDMETHODIMP AdviseTime(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT hEvent,
                          DWORD_PTR* pdwAdviseCookie) override;
  STDMETHODIMP AdvisePeriodic(REFERENCE_TIME startTime, REFERENCE_TIME periodTime, HSEMAPHORE hSemaphore,
                              DWORD_PTR* pdwAdviseCookie) override;
  STDMETHODIMP Unadvise(DWORD_PTR dwAdviseCookie) override;

  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
};

}  // namespace plat
