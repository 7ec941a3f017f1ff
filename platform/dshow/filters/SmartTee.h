// The Smart Tee: one input, outputs "Capture" and "Preview". The capture output passes
// on every sample as it came; the preview output gets a copy without time stamps (shown
// as soon as it arrives), and only when it has a buffer free: a slow preview drops
// frames rather than hold up the capture.
#pragma once

#include <dshow/baseclasses/CBaseFilter.h>
#include <dshow/baseclasses/setup.h>

#include <memory>

namespace plat {

class SmartTee : public CBaseFilter {
 public:
  SmartTee(LPUNKNOWN outer, HRESULT* phr);
  ~SmartTee() override;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;

  int GetPinCount() override { return 3; }
  CBasePin* GetPin(int n) override;

 private:
  class InputPin;
  class OutputPin;
  friend class InputPin;
  friend class OutputPin;

  CCritSec m_lock;
  std::unique_ptr<InputPin> m_input;
  std::unique_ptr<OutputPin> m_capture;
  std::unique_ptr<OutputPin> m_preview;
};

}  // namespace plat
