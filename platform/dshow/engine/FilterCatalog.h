// The filters intelligent connect may insert: the platform's own (whose setup records
// the platform adds at load) and those registered in the machine's registry by filter
// modules. Only filters above MERIT_DO_NOT_USE are offered, highest merit first.
#pragma once

#include <dshow/baseclasses/RegisteredFilter.h>

#include <vector>

namespace plat {

class FilterCatalog {
 public:
  static void addBuiltin(const AMOVIESETUP_FILTER& setup);
  static std::vector<RegisteredFilter> candidates();
};

}  // namespace plat
