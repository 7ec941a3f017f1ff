// The COM object base of filters, pins and allocators: a reference count, the
// non-delegating IUnknown that aggregation needs, and a count of live objects that a
// module's DllCanUnloadNow consults.
//
// A class derives from CUnknown and from its interfaces, writes DECLARE_IUNKNOWN in its
// body (the interfaces' IUnknown methods then go to the owner: the outer object when
// aggregated, else this object's own non-delegating unknown) and overrides
// NonDelegatingQueryInterface, returning GetInterface(static_cast<IFoo*>(this), ppv) for
// its own interfaces and the base's answer otherwise.
#pragma once

#include <com/unknwn.h>
#include <dshow/baseclasses/checks.h>

#include <atomic>

struct INonDelegatingUnknown {
  virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) = 0;
  virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;

 protected:
  ~INonDelegatingUnknown() = default;
};
using PNDUNKNOWN = INonDelegatingUnknown*;

// Counts every live base-class object of the process.
class CBaseObject {
 public:
  explicit CBaseObject(const char* pName);
  virtual ~CBaseObject();
  CBaseObject(const CBaseObject&) = delete;
  CBaseObject& operator=(const CBaseObject&) = delete;

  static LONG ObjectsActive() { return m_cObjects.load(); }

 private:
  static std::atomic<LONG> m_cObjects;
};

class CUnknown : public INonDelegatingUnknown, public CBaseObject {
 public:
  CUnknown(const char* pName, LPUNKNOWN pUnk, HRESULT* phr = nullptr);
  ~CUnknown() override = default;

  // The IUnknown that QueryInterface/AddRef/Release of every interface go to.
  LPUNKNOWN GetOwner() const { return m_pUnknown; }

  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) NonDelegatingAddRef() override;
  STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

 protected:
  std::atomic<LONG> m_cRef{0};

 private:
  // The non-delegating methods seen through a real IUnknown.
  class Inner final : public IUnknown {
   public:
    explicit Inner(CUnknown* object) : m_object(object) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return m_object->NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return m_object->NonDelegatingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_object->NonDelegatingRelease(); }

   private:
    CUnknown* m_object;
  };

  Inner m_inner{this};
  const LPUNKNOWN m_pUnknown;
};

// Hands out an interface with one reference added.
HRESULT GetInterface(LPUNKNOWN pUnk, void** ppv);

#define DECLARE_IUNKNOWN                                                                                  \
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return GetOwner()->QueryInterface(riid, ppv); } \
  STDMETHODIMP_(ULONG) AddRef() override { return GetOwner()->AddRef(); }                                 \
  STDMETHODIMP_(ULONG) Release() override { return GetOwner()->Release(); }
