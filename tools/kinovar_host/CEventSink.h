// The container's sink for a control's events: every call on it is handed on with its
// dispatch id and its VT_I4 arguments in their written order.
#pragma once

#include <com/RefCount.h>
#include <com/oaidl.h>

#include <functional>
#include <vector>

class CEventSink final : public IDispatch {
 public:
  using Handler = std::function<void(DISPID dispid, const std::vector<long>& arguments)>;

  explicit CEventSink(Handler handler) : m_handler(std::move(handler)) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return m_refs.addRef(); }
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams, VARIANT*, EXCEPINFO*,
                      UINT*) override;

 private:
  ~CEventSink() = default;
  plat::RefCount m_refs;
  Handler m_handler;
};
