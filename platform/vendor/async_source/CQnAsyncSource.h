// The maker's asynchronous file source: the platform's file source under the maker's
// CLSID, with the readiness interface.
#pragma once

#include <vendor/async_source/QnAsyncSource.h>

#include <dshow/filters/AsyncFileSource.h>

class CQnAsyncSource : public plat::AsyncFileSource, public IQnSourceReady {
 public:
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP Prepare(DWORD reserved1, DWORD reserved2) override;

 private:
  CQnAsyncSource(LPUNKNOWN pUnk, HRESULT* phr);
};
