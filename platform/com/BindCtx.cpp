#include <com/BindCtx.h>
#include <com/objbase.h>

#include <algorithm>

namespace plat {

BindCtx::BindCtx() : m_options{sizeof(BIND_OPTS), 0, STGM_READWRITE, 0} {}

IBindCtx* BindCtx::create() { return new BindCtx(); }

STDMETHODIMP BindCtx::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IBindCtx) {
    *ppv = static_cast<IBindCtx*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BindCtx::AddRef() { return m_refs.addRef(); }

STDMETHODIMP_(ULONG) BindCtx::Release() {
  ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP BindCtx::RegisterObjectBound(IUnknown* punk) {
  if (!punk) return E_INVALIDARG;
  std::lock_guard guard(m_lock);
  m_bound.emplace_back(punk);
  return S_OK;
}

STDMETHODIMP BindCtx::RevokeObjectBound(IUnknown* punk) {
  ComPtr<IUnknown> revoked;  // released after the lock is dropped
  std::lock_guard guard(m_lock);
  auto it = std::find_if(m_bound.begin(), m_bound.end(), [&](const ComPtr<IUnknown>& p) { return p.get() == punk; });
  if (it == m_bound.end()) return MK_E_NOTBOUND;
  revoked = std::move(*it);
  m_bound.erase(it);
  return S_OK;
}

STDMETHODIMP BindCtx::ReleaseBoundObjects() {
  std::vector<ComPtr<IUnknown>> released;
  {
    std::lock_guard guard(m_lock);
    released.swap(m_bound);
  }
  return S_OK;
}

STDMETHODIMP BindCtx::SetBindOptions(BIND_OPTS* pbindopts) {
  if (!pbindopts || pbindopts->cbStruct < sizeof(BIND_OPTS)) return E_INVALIDARG;
  std::lock_guard guard(m_lock);
  m_options = *pbindopts;
  m_options.cbStruct = sizeof(BIND_OPTS);
  return S_OK;
}

STDMETHODIMP BindCtx::GetBindOptions(BIND_OPTS* pbindopts) {
  if (!pbindopts || pbindopts->cbStruct < sizeof(BIND_OPTS)) return E_INVALIDARG;
  std::lock_guard guard(m_lock);
  *pbindopts = m_options;
  return S_OK;
}

STDMETHODIMP BindCtx::GetRunningObjectTable(IRunningObjectTable** pprot) {
  return ::GetRunningObjectTable(0, pprot);
}

STDMETHODIMP BindCtx::RegisterObjectParam(LPOLESTR pszKey, IUnknown* punk) {
  if (!pszKey || !punk) return E_INVALIDARG;
  ComPtr<IUnknown> replaced;
  std::lock_guard guard(m_lock);
  ComPtr<IUnknown>& slot = m_params[pszKey];
  replaced = std::move(slot);
  slot = punk;
  return S_OK;
}

STDMETHODIMP BindCtx::GetObjectParam(LPOLESTR pszKey, IUnknown** ppunk) {
  if (!ppunk) return E_POINTER;
  *ppunk = nullptr;
  if (!pszKey) return E_INVALIDARG;
  std::lock_guard guard(m_lock);
  auto it = m_params.find(pszKey);
  if (it == m_params.end()) return E_FAIL;
  *ppunk = ComPtr<IUnknown>(it->second).detach();
  return S_OK;
}

STDMETHODIMP BindCtx::EnumObjectParam(IEnumString** ppenum) {
  if (ppenum) *ppenum = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BindCtx::RevokeObjectParam(LPOLESTR pszKey) {
  if (!pszKey) return E_INVALIDARG;
  ComPtr<IUnknown> revoked;
  std::lock_guard guard(m_lock);
  auto it = m_params.find(pszKey);
  if (it == m_params.end()) return E_FAIL;
  revoked = std::move(it->second);
  m_params.erase(it);
  return S_OK;
}

}  // namespace plat
