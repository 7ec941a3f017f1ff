#include <dshow/baseclasses/CMediaPosition.h>

CMediaPosition::CMediaPosition(const char* pName, LPUNKNOWN pUnk, HRESULT* phr) : CUnknown(pName, pUnk, phr) {}

STDMETHODIMP CMediaPosition::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMediaPosition) return GetInterface(static_cast<IMediaPosition*>(this), ppv);
  if (riid == IID_IDispatch) return GetInterface(static_cast<IDispatch*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CMediaPosition::GetTypeInfoCount(UINT* pctinfo) {
  CheckPointer(pctinfo, E_POINTER);
  *pctinfo = 0;
  return S_OK;
}

STDMETHODIMP CMediaPosition::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

STDMETHODIMP CMediaPosition::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP CMediaPosition::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}
