// The class factory handed out by a filter module's DllGetClassObject: makes objects of
// one template. Server locks and live objects keep the module loaded.
#pragma once

#include <dshow/baseclasses/CFactoryTemplate.h>

#include <atomic>

class CClassFactory : public IClassFactory, public CBaseObject {
 public:
  explicit CClassFactory(const CFactoryTemplate* pTemplate);

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(LPUNKNOWN pUnkOuter, REFIID riid, void** pv) override;
  STDMETHODIMP LockServer(BOOL fLock) override;

  static BOOL IsLocked() { return m_cLocked > 0; }

 private:
  const CFactoryTemplate* m_pTemplate;
  std::atomic<LONG> m_cRef{0};
  static std::atomic<LONG> m_cLocked;
};
