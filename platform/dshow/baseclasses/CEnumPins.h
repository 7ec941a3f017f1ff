// Enumerates a filter's pins by position. When the filter's pin set changes under it
// (the pin version moves), Next and Skip answer VFW_E_ENUM_OUT_OF_SYNC until Reset.
#pragma once

#include <dshow/baseclasses/CBaseFilter.h>

#include <atomic>

class CEnumPins : public IEnumPins {
 public:
  CEnumPins(CBaseFilter* pFilter, CEnumPins* pEnumPins);
  virtual ~CEnumPins();
  CEnumPins(const CEnumPins&) = delete;
  CEnumPins& operator=(const CEnumPins&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched) override;
  STDMETHODIMP Skip(ULONG cPins) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumPins** ppEnum) override;

 private:
  bool AreWeOutOfSync() { return m_pFilter->GetPinVersion() != m_Version; }

  int m_Position = 0;
  LONG m_Version;
  CBaseFilter* m_pFilter;  // counted
  std::atomic<LONG> m_cRef{0};
};
