// The TV stick's crossbar: which physical input reaches the video decoder. Pins in
// index order, inputs first: 0 "Video Tuner In", 1 "Video Composite In", 2 "Video SVideo
// In", 3 "Audio Tuner In", 4 "Audio Line In"; then outputs 0 "Video Decoder Out" and
// 1 "Audio Decoder Out" (filter pins 5 and 6). Each video input is related to its audio
// input and each output to the other. Routing the video output chooses what the stick
// shows, and the stick keeps it when the filter goes.
#pragma once

#include <dshow/axextend.h>
#include <dshow/baseclasses/CBaseFilter.h>

#include <array>
#include <memory>

namespace plat {

class AnalogPin;
class TvStickCapture;

class TvCrossbar : public CBaseFilter, public IAMCrossbar {
 public:
  static constexpr long kInputs = 5;
  static constexpr long kOutputs = 2;

  TvCrossbar(LPUNKNOWN outer, HRESULT* phr);
  ~TvCrossbar() override;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return kInputs + kOutputs; }
  CBasePin* GetPin(int n) override;

  STDMETHODIMP get_PinCounts(long* OutputPinCount, long* InputPinCount) override;
  STDMETHODIMP CanRoute(long OutputPinIndex, long InputPinIndex) override;
  STDMETHODIMP Route(long OutputPinIndex, long InputPinIndex) override;
  STDMETHODIMP get_IsRoutedTo(long OutputPinIndex, long* InputPinIndex) override;
  STDMETHODIMP get_CrossbarPinInfo(BOOL IsInputPin, long PinIndex, long* PinIndexRelated, long* PhysicalType) override;

 private:
  CCritSec m_lock;
  TvStickCapture& m_stick;
  std::array<std::unique_ptr<AnalogPin>, kInputs + kOutputs> m_pins;
  std::array<long, kOutputs> m_routes{0, 3};
};

}  // namespace plat
