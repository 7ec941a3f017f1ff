#include <dshow/engine/FilterCatalog.h>

#include <dshow/baseclasses/FilterRegistration.h>

#include <algorithm>
#include <mutex>

namespace plat {

namespace {
std::mutex g_lock;
std::vector<RegisteredFilter>& builtins() {
  static std::vector<RegisteredFilter> list;
  return list;
}
}  // namespace

void FilterCatalog::addBuiltin(const AMOVIESETUP_FILTER& setup) {
  std::lock_guard guard(g_lock);
  builtins().push_back(RegisteredFilter::fromSetup(setup));
}

std::vector<RegisteredFilter> FilterCatalog::candidates() {
  std::vector<RegisteredFilter> all = FilterRegistration::filtersIn(CLSID_LegacyAmFilterCategory);
  {
    std::lock_guard guard(g_lock);
    for (const RegisteredFilter& builtin : builtins()) {
      const bool registered = std::any_of(all.begin(), all.end(), [&](const RegisteredFilter& f) { return f.clsid == builtin.clsid; });
      if (!registered) all.push_back(builtin);
    }
  }
  std::erase_if(all, [](const RegisteredFilter& f) { return f.merit <= MERIT_DO_NOT_USE; });
  std::stable_sort(all.begin(), all.end(), [](const RegisteredFilter& a, const RegisteredFilter& b) { return a.merit > b.merit; });
  return all;
}

}  // namespace plat
