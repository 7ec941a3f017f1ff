// The base of objects exposing IMediaPosition: its dispatch methods answer E_NOTIMPL
// (no type library), the rest is the derived class's.
#pragma once

#include <dshow/baseclasses/CUnknown.h>
#include <dshow/control.h>

class CMediaPosition : public CUnknown, public IMediaPosition {
 public:
  CMediaPosition(const char* pName, LPUNKNOWN pUnk, HRESULT* phr = nullptr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT itinfo, LCID lcid, ITypeInfo** pptinfo) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgdispid) override;
  STDMETHODIMP Invoke(DISPID dispidMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pdispparams,
                      VARIANT* pvarResult, EXCEPINFO* pexcepinfo, UINT* puArgErr) override;
};
