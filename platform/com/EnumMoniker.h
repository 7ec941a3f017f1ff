// An IEnumMoniker over a fixed list of monikers (the running object table's entries, a
// device category's devices). Clones share the list and start at the clone's position.
#pragma once

#include <com/ComPtr.h>
#include <com/RefCount.h>
#include <com/objidl.h>

#include <memory>
#include <mutex>
#include <vector>

namespace plat {

class EnumMoniker final : public IEnumMoniker {
 public:
  using List = std::vector<ComPtr<IMoniker>>;

  // A new enumerator holding one reference, for the caller.
  static IEnumMoniker* create(List monikers);

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) override;
  STDMETHODIMP Skip(ULONG celt) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumMoniker** ppenum) override;

 private:
  EnumMoniker(std::shared_ptr<const List> list, std::size_t position);
  ~EnumMoniker() = default;

  RefCount m_refs;
  std::shared_ptr<const List> m_list;
  std::mutex m_lock;
  std::size_t m_position;
};

}  // namespace plat
