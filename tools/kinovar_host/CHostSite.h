// The container's side of one hosted control: its client site, whose IDispatch answers
// the ambient properties (the user mode: false while the container is designing).
#pragma once

#include <com/RefCount.h>
#include <com/oleidl.h>

class CHostSite final : public IOleClientSite, public IDispatch {
 public:
  CHostSite() = default;

  void SetUserMode(bool userMode) { m_userMode = userMode; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return m_refs.addRef(); }
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
  STDMETHODIMP GetContainer(IOleContainer** ppContainer) override;
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pVarResult, EXCEPINFO*,
                      UINT*) override;

 private:
  ~CHostSite() = default;
  plat::RefCount m_refs;
  bool m_userMode = true;
};
