// The class object of a built-in class, so CoGetClassObject answers for built-in classes
// the way it does for registered servers.
#pragma once

#include <com/BuiltinClasses.h>
#include <com/RefCount.h>

namespace plat {

class BuiltinClassFactory final : public IClassFactory {
 public:
  // Gives the factory for `create` as interface `iid`.
  static HRESULT create(CreateInstanceFn create, REFIID iid, void** out);

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
  STDMETHODIMP LockServer(BOOL fLock) override;

 private:
  explicit BuiltinClassFactory(CreateInstanceFn create) : m_create(create) {}
  ~BuiltinClassFactory() = default;

  RefCount m_refs;
  CreateInstanceFn m_create;
};

}  // namespace plat
