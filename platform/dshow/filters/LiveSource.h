// A source filter of live streams (a capture device). Its streams capture only while it
// runs, so it tells them once its state says it runs, and paused it answers
// VFW_S_CANT_CUE: it has no picture to show before it runs.
#pragma once

#include <dshow/baseclasses/CSource.h>

namespace plat {

class LiveSource : public CSource {
 public:
  using CSource::CSource;

  STDMETHODIMP GetState(DWORD dwMSecs, FILTER_STATE* State) override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;
};

}  // namespace plat
