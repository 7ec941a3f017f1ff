// The graph's interfaces that live in objects of their own (events, run control,
// seeking, video and audio): each is part of the graph object, so its IUnknown is the
// graph's, and the dispatch methods of the automation interfaces answer E_NOTIMPL.
#pragma once

#include <dshow/baseclasses/checks.h>
#include <dshow/control.h>

#define ORVANE_GRAPH_PART_IUNKNOWN                                                                    \
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return m_owner->QueryInterface(riid, ppv); } \
  STDMETHODIMP_(ULONG) AddRef() override { return m_owner->AddRef(); }                                 \
  STDMETHODIMP_(ULONG) Release() override { return m_owner->Release(); }

#define ORVANE_NO_DISPATCH                                                                            \
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {                                              \
    if (!pctinfo) return E_POINTER;                                                                    \
    *pctinfo = 0;                                                                                      \
    return S_OK;                                                                                       \
  }                                                                                                    \
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }                     \
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }    \
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { \
    return E_NOTIMPL;                                                                                  \
  }
