#include <dshow/filters/LiveSource.h>

#include <dshow/filters/LiveStream.h>
#include <dshow/vfwmsgs.h>

namespace plat {

STDMETHODIMP LiveSource::GetState(DWORD dwMSecs, FILTER_STATE* State) {
  const HRESULT hr = CSource::GetState(dwMSecs, State);
  return SUCCEEDED(hr) && *State == State_Paused ? VFW_S_CANT_CUE : hr;
}

STDMETHODIMP LiveSource::Run(REFERENCE_TIME tStart) {
  const HRESULT hr = CSource::Run(tStart);
  if (SUCCEEDED(hr)) LiveStream::filterRuns(*this);
  return hr;
}

}  // namespace plat
