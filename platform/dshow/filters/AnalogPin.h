// A pin that stands for a wire between two pieces of hardware (aerial to tuner, tuner to
// crossbar, crossbar to video decoder): it connects with its one analogue media type and
// carries no samples. Its medium (GUID_NULL: a socket, wired to nothing) tells the capture graph builder which device pin it is
// wired to; its category (if any) marks a capture device's analogue video input.
#pragma once

#include <dshow/axextend.h>
#include <dshow/baseclasses/CBasePin.h>

namespace plat {

class AnalogPin : public CBasePin, public IKsPropertySet {
 public:
  AnalogPin(CBaseFilter* filter, CCritSec* lock, LPCWSTR name, PIN_DIRECTION dir, const GUID& majorType,
            const REGPINMEDIUM& medium, const GUID& category = GUID_NULL);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  STDMETHODIMP BeginFlush() override { return S_OK; }
  STDMETHODIMP EndFlush() override { return S_OK; }

  STDMETHODIMP Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data, DWORD size,
                   DWORD* returned) override;
  STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

  const REGPINMEDIUM& medium() const { return m_medium; }

 private:
  GUID m_majorType;
  REGPINMEDIUM m_medium;
  GUID m_category;
};

}  // namespace plat
