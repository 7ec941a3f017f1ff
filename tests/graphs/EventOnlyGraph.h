// A stand-in graph manager offering nothing but its event interface, whose
// SetNotifyWindow answers what the test chooses: for the graph base's handling of
// partial graphs and of a notify call that is not a plain S_OK.
#pragma once

#include "GraphBuilderStub.h"

#include <dshow/dshow.h>

namespace test {

class EventOnlyGraph : public GraphBuilderStub, public IMediaEventEx {
 public:
  explicit EventOnlyGraph(HRESULT notifyAnswer) : m_notifyAnswer(notifyAnswer) {}
  virtual ~EventOnlyGraph() = default;
  EventOnlyGraph(const EventOnlyGraph&) = delete;
  EventOnlyGraph& operator=(const EventOnlyGraph&) = delete;

  ULONG references() const { return m_references; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
  STDMETHODIMP_(ULONG) Release() override;

  // IMediaEventEx: only the notify window is taken.
  STDMETHODIMP SetNotifyWindow(OAHWND, long, LONG_PTR) override { return m_notifyAnswer; }
  STDMETHODIMP SetNotifyFlags(long) override { return E_NOTIMPL; }
  STDMETHODIMP GetNotifyFlags(long*) override { return E_NOTIMPL; }
  STDMETHODIMP GetEventHandle(OAEVENT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetEvent(long*, LONG_PTR*, LONG_PTR*, long) override { return E_NOTIMPL; }
  STDMETHODIMP WaitForCompletion(long, long*) override { return E_NOTIMPL; }
  STDMETHODIMP CancelDefaultHandling(long) override { return E_NOTIMPL; }
  STDMETHODIMP RestoreDefaultHandling(long) override { return E_NOTIMPL; }
  STDMETHODIMP FreeEventParams(long, LONG_PTR, LONG_PTR) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

 private:
  HRESULT m_notifyAnswer;
  ULONG m_references = 1;
};

}  // namespace test
