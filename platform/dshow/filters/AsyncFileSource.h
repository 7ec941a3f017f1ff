// The system's "File Source (Async)": IFileSourceFilter opens a file, and one output pin
// offers it as a byte stream (MEDIATYPE_Stream, the subtype its first bytes show) that
// the parser downstream pulls through IAsyncReader. Makers' file sources build on it
// under their own CLSID.
#pragma once

#include <dshow/baseclasses/CBaseFilter.h>
#include <dshow/filters/AsyncOutputPin.h>

#include <memory>
#include <string>

namespace plat {

class AsyncFileSource : public CBaseFilter, public IFileSourceFilter {
 public:
  AsyncFileSource(const char* name, LPUNKNOWN outer, REFCLSID clsid, HRESULT* phr);
  ~AsyncFileSource() override;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;

  // IFileSourceFilter
  STDMETHODIMP Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;

  // True once a file is open and its stream type is known.
  bool recognised();

 protected:
  CCritSec m_lock;

 private:
  std::unique_ptr<AsyncOutputPin> m_pin;
  std::wstring m_fileName;
};

}  // namespace plat
