// Enumerates a pin's preferred media types (CBasePin::GetMediaType by position), handing
// each out as a task-memory AM_MEDIA_TYPE. Goes out of sync when the pin's type version moves.
#pragma once

#include <dshow/strmif.h>

#include <atomic>

class CBasePin;

class CEnumMediaTypes : public IEnumMediaTypes {
 public:
  CEnumMediaTypes(CBasePin* pPin, CEnumMediaTypes* pEnumMediaTypes);
  virtual ~CEnumMediaTypes();
  CEnumMediaTypes(const CEnumMediaTypes&) = delete;
  CEnumMediaTypes& operator=(const CEnumMediaTypes&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP Next(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) override;
  STDMETHODIMP Skip(ULONG cMediaTypes) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumMediaTypes** ppEnum) override;

 private:
  bool AreWeOutOfSync();

  int m_Position = 0;
  CBasePin* m_pPin;  // counted (through its filter)
  LONG m_Version;
  std::atomic<LONG> m_cRef{0};
};
