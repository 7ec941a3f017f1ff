#include <dshow/filters/CapturePin.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/filters/PinProperties.h>

namespace plat {

CapturePin::CapturePin(const char* pObjectName, CSource* filter, LPCWSTR name, const GUID& category,
                       const CMediaType& format)
    : LiveStream(pObjectName, nullptr, filter, name), m_format(format), m_category(category) {}

STDMETHODIMP CapturePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAMStreamConfig) return GetInterface(static_cast<IAMStreamConfig*>(this), ppv);
  if (riid == IID_IKsPropertySet) return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
  return LiveStream::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CapturePin::GetMediaType(int iPosition, CMediaType* pMediaType) {
  // Asked while a downstream filter holds its own lock (a tee offering this pin's types
  // on its outputs): the filter's lock here would take the two in the other order.
  CAutoLock lock(&m_formatLock);
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return GetMoreMediaTypes(iPosition, pMediaType);
  *pMediaType = m_format;
  return S_OK;
}

STDMETHODIMP CapturePin::GetFormat(AM_MEDIA_TYPE** ppmt) {
  CheckPointer(ppmt, E_POINTER);
  CAutoLock lock(m_pLock);
  *ppmt = CreateMediaType(IsConnected() ? &m_mt : &m_format);
  return *ppmt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CapturePin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) {
  return PinProperties::get(m_category, nullptr, set, id, data, size, returned);
}

STDMETHODIMP CapturePin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
  return PinProperties::querySupported(set, id, support);
}

}  // namespace plat
