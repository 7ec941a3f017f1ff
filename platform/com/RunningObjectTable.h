// The process's running object table: objects registered under a moniker so other code
// can find them by name (a graph under "!FilterGraph … pid …"). Entries are matched by
// their monikers' display names without regard to case, and each registration holds a
// reference to its object and moniker until it is revoked.
#pragma once

#include <com/ComPtr.h>
#include <com/objidl.h>

#include <mutex>
#include <string>
#include <vector>

namespace plat {

class RunningObjectTable final : public IRunningObjectTable {
 public:
  static RunningObjectTable& instance();

  // The table lives as long as the process: reference counts never destroy it.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP Register(DWORD grfFlags, IUnknown* punkObject, IMoniker* pmkObjectName, DWORD* pdwRegister) override;
  STDMETHODIMP Revoke(DWORD dwRegister) override;
  STDMETHODIMP IsRunning(IMoniker* pmkObjectName) override;
  STDMETHODIMP GetObject(IMoniker* pmkObjectName, IUnknown** ppunkObject) override;
  STDMETHODIMP NoteChangeTime(DWORD dwRegister, FILETIME* pfiletime) override;
  STDMETHODIMP GetTimeOfLastChange(IMoniker* pmkObjectName, FILETIME* pfiletime) override;
  STDMETHODIMP EnumRunning(IEnumMoniker** ppenumMoniker) override;

 private:
  struct Entry {
    DWORD cookie;
    std::wstring key;
    ComPtr<IUnknown> object;
    ComPtr<IMoniker> moniker;
    FILETIME changed;
  };

  RunningObjectTable() = default;
  ~RunningObjectTable() = default;
  // Under the lock; null when no entry has the key.
  Entry* findByKey(const std::wstring& key);

  std::mutex m_lock;
  DWORD m_nextCookie = 1;
  std::vector<Entry> m_entries;
};

}  // namespace plat
