#include <vendor/async_source/CQnAsyncSource.h>

#include <new>

CQnAsyncSource::CQnAsyncSource(LPUNKNOWN pUnk, HRESULT* phr)
    : plat::AsyncFileSource("QN async file source", pUnk, CLSID_QnAsyncSource, phr) {}

CUnknown* WINAPI CQnAsyncSource::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
  return new (std::nothrow) CQnAsyncSource(pUnk, phr);
}

STDMETHODIMP CQnAsyncSource::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IQnSourceReady) return GetInterface(static_cast<IQnSourceReady*>(this), ppv);
  return plat::AsyncFileSource::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CQnAsyncSource::Prepare(DWORD, DWORD) { return recognised() ? S_OK : S_FALSE; }
