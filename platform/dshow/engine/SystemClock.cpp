#include <dshow/engine/SystemClock.h>

#include <dshow/engine/ClockWait.h>

#include <new>

namespace plat {

SystemClock::SystemClock(LPUNKNOWN outer, HRESULT* phr) : CUnknown("System clock", outer, phr) {}

CUnknown* SystemClock::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) SystemClock(outer, phr);
}

STDMETHODIMP SystemClock::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IReferenceClock) return GetInterface(static_cast<IReferenceClock*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP SystemClock::GetTime(REFERENCE_TIME* pTime) {
  CheckPointer(pTime, E_POINTER);
  *pTime = ClockWait::now();
  return S_OK;
}

STDMETHODIMP SystemClock::AdviseTime(REFERENCE_TIME, REFERENCE_TIME, HEVENT, DWORD_PTR*) { return E_NOTIMPL; }

STDMETHODIMP SystemClock::AdvisePeriodic(REFERENCE_TIME, REFERENCE_TIME, HSEMAPHORE, DWORD_PTR*) { return E_NOTIMPL; }

STDMETHODIMP SystemClock::Unadvise(DWORD_PTR) { return E_NOTIMPL; }

}  // namespace plat
