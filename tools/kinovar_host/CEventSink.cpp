#include "CEventSink.h"

#include <com/oleauto.h>

STDMETHODIMP CEventSink::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid != IID_IUnknown && riid != IID_IDispatch) return E_NOINTERFACE;
  *ppv = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CEventSink::Release() {
  const ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CEventSink::GetTypeInfoCount(UINT* pctinfo) {
  if (!pctinfo) return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}

STDMETHODIMP CEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
  if (ppTInfo) *ppTInfo = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CEventSink::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams, VARIANT*,
                                EXCEPINFO*, UINT*) {
  if (!(wFlags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  std::vector<long> arguments;
  const UINT count = pDispParams ? pDispParams->cArgs : 0;
  for (UINT i = count; i-- > 0;) {
    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantChangeType(&value, &pDispParams->rgvarg[i], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
    arguments.push_back(value.lVal);
  }
  if (m_handler) m_handler(dispIdMember, arguments);
  return S_OK;
}
