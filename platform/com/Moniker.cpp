#include <com/ComPtr.h>
#include <com/Moniker.h>
#include <com/objbase.h>

#include <cstring>
#include <cwctype>
#include <functional>

namespace plat {

std::wstring Moniker::comparisonKey(IMoniker* moniker) {
  LPOLESTR name = nullptr;
  if (!moniker || FAILED(moniker->GetDisplayName(nullptr, nullptr, &name)) || !name) return {};
  std::wstring key(name);
  CoTaskMemFree(name);
  for (wchar_t& c : key) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return key;
}

STDMETHODIMP Moniker::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IPersistStream || riid == IID_IMoniker) {
    *ppv = static_cast<IMoniker*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) Moniker::AddRef() { return m_refs.addRef(); }

STDMETHODIMP_(ULONG) Moniker::Release() {
  ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

HRESULT Moniker::classId(CLSID*) const { return E_NOTIMPL; }

HRESULT Moniker::bindToObject(IBindCtx*, REFIID, void**) { return MK_E_NOOBJECT; }

HRESULT Moniker::bindToStorage(IBindCtx*, REFIID, void**) { return MK_E_NOSTORAGE; }

STDMETHODIMP Moniker::GetClassID(CLSID* pClassID) {
  if (!pClassID) return E_POINTER;
  return classId(pClassID);
}

// Saving and loading monikers is not part of the platform: these are never persisted.
STDMETHODIMP Moniker::IsDirty() { return S_FALSE; }
STDMETHODIMP Moniker::Load(IStream*) { return E_NOTIMPL; }
STDMETHODIMP Moniker::Save(IStream*, BOOL) { return E_NOTIMPL; }
STDMETHODIMP Moniker::GetSizeMax(ULARGE_INTEGER*) { return E_NOTIMPL; }

STDMETHODIMP Moniker::BindToObject(IBindCtx* pbc, IMoniker*, REFIID riidResult, void** ppvResult) {
  if (!ppvResult) return E_POINTER;
  *ppvResult = nullptr;
  return bindToObject(pbc, riidResult, ppvResult);
}

STDMETHODIMP Moniker::BindToStorage(IBindCtx* pbc, IMoniker*, REFIID riid, void** ppvObj) {
  if (!ppvObj) return E_POINTER;
  *ppvObj = nullptr;
  return bindToStorage(pbc, riid, ppvObj);
}

STDMETHODIMP Moniker::Reduce(IBindCtx*, DWORD, IMoniker** ppmkToLeft, IMoniker** ppmkReduced) {
  if (!ppmkReduced) return E_POINTER;
  if (ppmkToLeft) *ppmkToLeft = nullptr;
  AddRef();
  *ppmkReduced = this;
  return MK_S_REDUCED_TO_SELF;
}

// Composite monikers are not part of the platform.
STDMETHODIMP Moniker::ComposeWith(IMoniker*, BOOL, IMoniker** ppmkComposite) {
  if (ppmkComposite) *ppmkComposite = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP Moniker::Enum(BOOL, IEnumMoniker** ppenumMoniker) {
  if (!ppenumMoniker) return E_POINTER;
  *ppenumMoniker = nullptr;  // a simple moniker has no parts
  return S_OK;
}

STDMETHODIMP Moniker::IsEqual(IMoniker* pmkOtherMoniker) {
  if (!pmkOtherMoniker) return E_INVALIDARG;
  return comparisonKey(this) == comparisonKey(pmkOtherMoniker) ? S_OK : S_FALSE;
}

STDMETHODIMP Moniker::Hash(DWORD* pdwHash) {
  if (!pdwHash) return E_POINTER;
  *pdwHash = static_cast<DWORD>(std::hash<std::wstring>{}(comparisonKey(this)));
  return S_OK;
}

STDMETHODIMP Moniker::IsRunning(IBindCtx* pbc, IMoniker*, IMoniker* pmkNewlyRunning) {
  if (pmkNewlyRunning && IsEqual(pmkNewlyRunning) == S_OK) return S_OK;
  ComPtr<IRunningObjectTable> rot;
  HRESULT hr = pbc ? pbc->GetRunningObjectTable(rot.put()) : GetRunningObjectTable(0, rot.put());
  if (FAILED(hr)) return hr;
  return rot->IsRunning(this);
}

STDMETHODIMP Moniker::GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*) { return MK_E_UNAVAILABLE; }

STDMETHODIMP Moniker::Inverse(IMoniker** ppmk) {
  if (ppmk) *ppmk = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP Moniker::CommonPrefixWith(IMoniker*, IMoniker** ppmkPrefix) {
  if (ppmkPrefix) *ppmkPrefix = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP Moniker::RelativePathTo(IMoniker*, IMoniker** ppmkRelPath) {
  if (ppmkRelPath) *ppmkRelPath = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP Moniker::GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* ppszDisplayName) {
  if (!ppszDisplayName) return E_POINTER;
  std::wstring name = displayName();
  std::size_t bytes = (name.size() + 1) * sizeof(OLECHAR);
  *ppszDisplayName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*ppszDisplayName) return E_OUTOFMEMORY;
  std::memcpy(*ppszDisplayName, name.c_str(), bytes);
  return S_OK;
}

STDMETHODIMP Moniker::ParseDisplayName(IBindCtx*, IMoniker*, LPOLESTR, ULONG* pchEaten, IMoniker** ppmkOut) {
  if (pchEaten) *pchEaten = 0;
  if (ppmkOut) *ppmkOut = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP Moniker::IsSystemMoniker(DWORD* pdwMksys) {
  if (!pdwMksys) return E_POINTER;
  *pdwMksys = systemMoniker();
  return *pdwMksys == MKSYS_NONE ? S_FALSE : S_OK;
}

}  // namespace plat
