// The base of every filter: state (stopped, paused, running) with the pins activated on
// the way out of Stop and deactivated on the way back, the graph it joined (held weakly,
// the graph holds the filter), its name there, the reference clock and the stream start
// time, pin enumeration over GetPinCount/GetPin, and events to the graph.
//
// The filter lock (m_pLock, given by the derived filter) serialises state changes and
// pin connections. Streaming threads take a lock of their own, never this one while
// they deliver downstream.
#pragma once

#include <dshow/baseclasses/CCritSec.h>
#include <dshow/baseclasses/CUnknown.h>
#include <dshow/strmif.h>

#include <atomic>
#include <string>

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter {
 public:
  CBaseFilter(const char* pName, LPUNKNOWN pUnk, CCritSec* pLock, REFCLSID clsid, HRESULT* phr = nullptr);
  ~CBaseFilter() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // IPersist
  STDMETHODIMP GetClassID(CLSID* pClsID) override;
  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;
  STDMETHODIMP GetState(DWORD dwMSecs, FILTER_STATE* State) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* pClock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** pClock) override;
  // IBaseFilter
  STDMETHODIMP EnumPins(IEnumPins** ppEnum) override;
  STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override;
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* pInfo) override;
  STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;
  STDMETHODIMP QueryVendorInfo(LPWSTR* pVendorInfo) override;

  // The pins, numbered from 0; GetPin returns no reference of its own.
  virtual int GetPinCount() = 0;
  virtual CBasePin* GetPin(int n) = 0;
  // Raised whenever the set of pins changes, so pin enumerators go out of sync.
  virtual LONG GetPinVersion() { return m_PinVersion; }
  void IncrementPinVersion() { ++m_PinVersion; }

  BOOL IsActive();
  BOOL IsStopped();
  // Now on the stream's time line (clock time less the start time); VFW_E_NO_CLOCK without a clock.
  HRESULT StreamTime(REFERENCE_TIME& rtStream);
  // EC_COMPLETE carries the filter as its second parameter, as the graph expects.
  HRESULT NotifyEvent(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2);
  IFilterGraph* GetFilterGraph() { return m_pGraph; }

 protected:
  // Read by streaming threads without the filter lock.
  std::atomic<FILTER_STATE> m_State{State_Stopped};
  IReferenceClock* m_pClock = nullptr;  // counted
  std::atomic<REFERENCE_TIME> m_tStart{0};
  CLSID m_clsid;
  CCritSec* m_pLock;
  std::wstring m_pName;
  IFilterGraph* m_pGraph = nullptr;     // weak: the graph holds the filter
  IMediaEventSink* m_pSink = nullptr;   // weak, the graph's own interface
  LONG m_PinVersion = 1;
};
