// Walks a graph's filters in the order they were added. The walk works on the list as
// it was at creation or the last Reset (holding those filters), so removing filters
// while walking is safe; after the graph changed, Next answers VFW_E_ENUM_OUT_OF_SYNC
// until Reset.
#pragma once

#include <com/ComPtr.h>
#include <dshow/strmif.h>

#include <atomic>
#include <vector>

namespace plat {

class FilterGraph;

class EnumFilters : public IEnumFilters {
 public:
  explicit EnumFilters(FilterGraph& graph);
  virtual ~EnumFilters();
  EnumFilters(const EnumFilters&) = delete;
  EnumFilters& operator=(const EnumFilters&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP Next(ULONG cFilters, IBaseFilter** ppFilter, ULONG* pcFetched) override;
  STDMETHODIMP Skip(ULONG cFilters) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumFilters** ppEnum) override;

 private:
  FilterGraph& m_graph;
  IUnknown* m_owner;  // counted: the graph stays while we walk it
  std::vector<ComPtr<IBaseFilter>> m_filters;
  LONG m_version = 0;
  size_t m_position = 0;
  std::atomic<LONG> m_cRef{0};
};

}  // namespace plat
