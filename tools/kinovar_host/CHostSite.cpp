#include "CHostSite.h"

#include <com/oleauto.h>

STDMETHODIMP CHostSite::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IOleClientSite)
    *ppv = static_cast<IOleClientSite*>(this);
  else if (riid == IID_IDispatch)
    *ppv = static_cast<IDispatch*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CHostSite::Release() {
  const ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CHostSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
  if (ppmk) *ppmk = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CHostSite::GetContainer(IOleContainer** ppContainer) {
  if (ppContainer) *ppContainer = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CHostSite::GetTypeInfoCount(UINT* pctinfo) {
  if (!pctinfo) return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}

STDMETHODIMP CHostSite::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
  if (ppTInfo) *ppTInfo = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CHostSite::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pVarResult,
                               EXCEPINFO*, UINT*) {
  if (dispIdMember != DISPID_AMBIENT_USERMODE || !(wFlags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  if (!pVarResult) return E_POINTER;
  VariantInit(pVarResult);
  pVarResult->vt = VT_BOOL;
  pVarResult->boolVal = m_userMode ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}
