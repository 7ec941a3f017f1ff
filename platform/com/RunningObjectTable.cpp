#include <com/EnumMoniker.h>
#include <com/Moniker.h>
#include <com/RunningObjectTable.h>

#include <machine/Machine.h>

#include <algorithm>

namespace plat {
namespace {

// The machine clock's wall time as a FILETIME (100 ns units since 1601).
FILETIME now() {
  constexpr std::int64_t kUnixEpochIn1601Ms = 11644473600000;
  auto ticks = static_cast<std::uint64_t>(Machine::current().clock().unixMs() + kUnixEpochIn1601Ms) * 10000;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

RunningObjectTable& RunningObjectTable::instance() {
  static RunningObjectTable* table = new RunningObjectTable();  // never destroyed: objects may outlive statics
  return *table;
}

RunningObjectTable::Entry* RunningObjectTable::findByKey(const std::wstring& key) {
  auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.key == key; });
  return it == m_entries.end() ? nullptr : &*it;
}

STDMETHODIMP RunningObjectTable::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IRunningObjectTable) {
    *ppv = static_cast<IRunningObjectTable*>(this);
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) RunningObjectTable::AddRef() { return 2; }

STDMETHODIMP_(ULONG) RunningObjectTable::Release() { return 1; }

STDMETHODIMP RunningObjectTable::Register(DWORD, IUnknown* punkObject, IMoniker* pmkObjectName, DWORD* pdwRegister) {
  if (!pdwRegister) return E_POINTER;
  *pdwRegister = 0;
  if (!punkObject || !pmkObjectName) return E_INVALIDARG;
  std::wstring key = Moniker::comparisonKey(pmkObjectName);
  FILETIME registered = now();
  std::lock_guard guard(m_lock);
  bool duplicate = findByKey(key) != nullptr;
  DWORD cookie = m_nextCookie++;
  m_entries.push_back(Entry{cookie, std::move(key), punkObject, pmkObjectName, registered});
  *pdwRegister = cookie;
  // Windows also registers a second object under a name already taken, and says so.
  return duplicate ? MK_S_MONIKERALREADYREGISTERED : S_OK;
}

STDMETHODIMP RunningObjectTable::Revoke(DWORD dwRegister) {
  Entry revoked{};  // its references drop after the lock, since releasing may call back in
  std::lock_guard guard(m_lock);
  auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.cookie == dwRegister; });
  if (it == m_entries.end()) return E_INVALIDARG;
  revoked = std::move(*it);
  m_entries.erase(it);
  return S_OK;
}

STDMETHODIMP RunningObjectTable::IsRunning(IMoniker* pmkObjectName) {
  if (!pmkObjectName) return E_INVALIDARG;
  std::wstring key = Moniker::comparisonKey(pmkObjectName);
  std::lock_guard guard(m_lock);
  return findByKey(key) ? S_OK : S_FALSE;
}

STDMETHODIMP RunningObjectTable::GetObject(IMoniker* pmkObjectName, IUnknown** ppunkObject) {
  if (!ppunkObject) return E_POINTER;
  *ppunkObject = nullptr;
  if (!pmkObjectName) return E_INVALIDARG;
  std::wstring key = Moniker::comparisonKey(pmkObjectName);
  std::lock_guard guard(m_lock);
  Entry* entry = findByKey(key);
  if (!entry) return MK_E_UNAVAILABLE;
  *ppunkObject = ComPtr<IUnknown>(entry->object).detach();
  return S_OK;
}

STDMETHODIMP RunningObjectTable::NoteChangeTime(DWORD dwRegister, FILETIME* pfiletime) {
  if (!pfiletime) return E_INVALIDARG;
  std::lock_guard guard(m_lock);
  auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.cookie == dwRegister; });
  if (it == m_entries.end()) return E_INVALIDARG;
  it->changed = *pfiletime;
  return S_OK;
}

STDMETHODIMP RunningObjectTable::GetTimeOfLastChange(IMoniker* pmkObjectName, FILETIME* pfiletime) {
  if (!pmkObjectName || !pfiletime) return E_INVALIDARG;
  std::wstring key = Moniker::comparisonKey(pmkObjectName);
  std::lock_guard guard(m_lock);
  Entry* entry = findByKey(key);
  if (!entry) return MK_E_UNAVAILABLE;
  *pfiletime = entry->changed;
  return S_OK;
}

STDMETHODIMP RunningObjectTable::EnumRunning(IEnumMoniker** ppenumMoniker) {
  if (!ppenumMoniker) return E_POINTER;
  EnumMoniker::List monikers;
  {
    std::lock_guard guard(m_lock);
    for (const Entry& entry : m_entries) monikers.push_back(entry.moniker);
  }
  *ppenumMoniker = EnumMoniker::create(std::move(monikers));
  return S_OK;
}

}  // namespace plat
