#include <com/EnumMoniker.h>

namespace plat {

EnumMoniker::EnumMoniker(std::shared_ptr<const List> list, std::size_t position)
    : m_list(std::move(list)), m_position(position) {}

IEnumMoniker* EnumMoniker::create(List monikers) {
  return new EnumMoniker(std::make_shared<const List>(std::move(monikers)), 0);
}

STDMETHODIMP EnumMoniker::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IEnumMoniker) {
    *ppv = static_cast<IEnumMoniker*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EnumMoniker::AddRef() { return m_refs.addRef(); }

STDMETHODIMP_(ULONG) EnumMoniker::Release() {
  ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP EnumMoniker::Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) {
  if (!rgelt || (celt > 1 && !pceltFetched)) return E_POINTER;
  std::lock_guard guard(m_lock);
  ULONG fetched = 0;
  for (; fetched < celt && m_position < m_list->size(); ++fetched, ++m_position) {
    rgelt[fetched] = (*m_list)[m_position].get();
    rgelt[fetched]->AddRef();
  }
  if (pceltFetched) *pceltFetched = fetched;
  return fetched == celt ? S_OK : S_FALSE;
}

STDMETHODIMP EnumMoniker::Skip(ULONG celt) {
  std::lock_guard guard(m_lock);
  std::size_t left = m_list->size() - m_position;
  m_position += std::min<std::size_t>(celt, left);
  return celt <= left ? S_OK : S_FALSE;
}

STDMETHODIMP EnumMoniker::Reset() {
  std::lock_guard guard(m_lock);
  m_position = 0;
  return S_OK;
}

STDMETHODIMP EnumMoniker::Clone(IEnumMoniker** ppenum) {
  if (!ppenum) return E_POINTER;
  std::lock_guard guard(m_lock);
  *ppenum = new EnumMoniker(m_list, m_position);
  return S_OK;
}

}  // namespace plat
