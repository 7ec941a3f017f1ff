// A bind context: holds the objects bound during one binding operation until it goes,
// its bind options, and named object parameters; its running object table is the
// process's.
#pragma once

#include <com/ComPtr.h>
#include <com/RefCount.h>
#include <com/objidl.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

class BindCtx final : public IBindCtx {
 public:
  // A new bind context holding one reference, for the caller.
  static IBindCtx* create();

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP RegisterObjectBound(IUnknown* punk) override;
  STDMETHODIMP RevokeObjectBound(IUnknown* punk) override;
  STDMETHODIMP ReleaseBoundObjects() override;
  STDMETHODIMP SetBindOptions(BIND_OPTS* pbindopts) override;
  STDMETHODIMP GetBindOptions(BIND_OPTS* pbindopts) override;
  STDMETHODIMP GetRunningObjectTable(IRunningObjectTable** pprot) override;
  STDMETHODIMP RegisterObjectParam(LPOLESTR pszKey, IUnknown* punk) override;
  STDMETHODIMP GetObjectParam(LPOLESTR pszKey, IUnknown** ppunk) override;
  STDMETHODIMP EnumObjectParam(IEnumString** ppenum) override;
  STDMETHODIMP RevokeObjectParam(LPOLESTR pszKey) override;

 private:
  BindCtx();
  ~BindCtx() = default;

  RefCount m_refs;
  std::mutex m_lock;
  BIND_OPTS m_options;
  std::vector<ComPtr<IUnknown>> m_bound;
  std::map<std::wstring, ComPtr<IUnknown>> m_params;
};

}  // namespace plat
