// The base of the platform's monikers: reference counting, the persistence and moniker
// methods a simple (non-composite) moniker answers the same way, and display-name based
// equality and hashing, which is how the running object table tells entries apart.
//
// A moniker kind derives and gives its display name; one that binds (a device moniker
// giving its filter and property bag) overrides bindToObject/bindToStorage, which
// IMoniker::BindToObject/BindToStorage delegate to.
#pragma once

#include <com/RefCount.h>
#include <com/objidl.h>

#include <string>

namespace plat {

class Moniker : public IMoniker {
 public:
  Moniker() = default;
  Moniker(const Moniker&) = delete;
  Moniker& operator=(const Moniker&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IPersist, IPersistStream
  STDMETHODIMP GetClassID(CLSID* pClassID) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(IStream* pStm) override;
  STDMETHODIMP Save(IStream* pStm, BOOL fClearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* pcbSize) override;
  // IMoniker
  STDMETHODIMP BindToObject(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riidResult, void** ppvResult) override;
  STDMETHODIMP BindToStorage(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riid, void** ppvObj) override;
  STDMETHODIMP Reduce(IBindCtx* pbc, DWORD dwReduceHowFar, IMoniker** ppmkToLeft, IMoniker** ppmkReduced) override;
  STDMETHODIMP ComposeWith(IMoniker* pmkRight, BOOL fOnlyIfNotGeneric, IMoniker** ppmkComposite) override;
  STDMETHODIMP Enum(BOOL fForward, IEnumMoniker** ppenumMoniker) override;
  STDMETHODIMP IsEqual(IMoniker* pmkOtherMoniker) override;
  STDMETHODIMP Hash(DWORD* pdwHash) override;
  STDMETHODIMP IsRunning(IBindCtx* pbc, IMoniker* pmkToLeft, IMoniker* pmkNewlyRunning) override;
  STDMETHODIMP GetTimeOfLastChange(IBindCtx* pbc, IMoniker* pmkToLeft, FILETIME* pFileTime) override;
  STDMETHODIMP Inverse(IMoniker** ppmk) override;
  STDMETHODIMP CommonPrefixWith(IMoniker* pmkOther, IMoniker** ppmkPrefix) override;
  STDMETHODIMP RelativePathTo(IMoniker* pmkOther, IMoniker** ppmkRelPath) override;
  STDMETHODIMP GetDisplayName(IBindCtx* pbc, IMoniker* pmkToLeft, LPOLESTR* ppszDisplayName) override;
  STDMETHODIMP ParseDisplayName(IBindCtx* pbc, IMoniker* pmkToLeft, LPOLESTR pszDisplayName, ULONG* pchEaten,
                                IMoniker** ppmkOut) override;
  STDMETHODIMP IsSystemMoniker(DWORD* pdwMksys) override;

  // The key two monikers are equal by: the display name without regard to case.
  static std::wstring comparisonKey(IMoniker* moniker);

 protected:
  virtual ~Moniker() = default;

  virtual std::wstring displayName() const = 0;
  // What kind of moniker this is (MKSYS_*) and its class; none by default.
  virtual DWORD systemMoniker() const { return MKSYS_NONE; }
  virtual HRESULT classId(CLSID* clsid) const;
  // *out is null on entry; the defaults bind to nothing (MK_E_NOOBJECT / MK_E_NOSTORAGE).
  virtual HRESULT bindToObject(IBindCtx* bindCtx, REFIID iid, void** out);
  virtual HRESULT bindToStorage(IBindCtx* bindCtx, REFIID iid, void** out);

 private:
  RefCount m_refs;
};

}  // namespace plat
