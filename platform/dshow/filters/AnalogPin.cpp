#include <dshow/filters/AnalogPin.h>

#include <dshow/filters/PinProperties.h>

namespace plat {

AnalogPin::AnalogPin(CBaseFilter* filter, CCritSec* lock, LPCWSTR name, PIN_DIRECTION dir, const GUID& majorType,
                     const REGPINMEDIUM& medium, const GUID& category)
    : CBasePin("Analog pin", filter, lock, nullptr, name, dir), m_majorType(majorType), m_medium(medium), m_category(category) {}

STDMETHODIMP AnalogPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IKsPropertySet) return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
  return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT AnalogPin::CheckMediaType(const CMediaType* pmt) { return *pmt->Type() == m_majorType ? S_OK : S_FALSE; }

HRESULT AnalogPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  pMediaType->InitMediaType();
  pMediaType->SetType(&m_majorType);
  pMediaType->SetFormatType(&FORMAT_None);
  return S_OK;
}

STDMETHODIMP AnalogPin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) {
  const bool wired = m_medium.clsMedium != GUID_NULL;
  return PinProperties::get(m_category, wired ? &m_medium : nullptr, set, id, data, size, returned);
}

STDMETHODIMP AnalogPin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
  return PinProperties::querySupported(set, id, support);
}

}  // namespace plat
