// The sound card's audio capture device ("Audio Volume Control"): one live PCM output
// "Capture" (IAMStreamConfig, IAMBufferNegotiation) and one input pin per input line of
// machine.ini (IAMAudioInputMixer). It records the TV stick's sound while the line the
// stick is wired to is enabled.
#pragma once

#include <dshow/filters/LiveSource.h>

#include <memory>
#include <vector>

namespace plat {

class AudioLinePin;
class CaptureAudio;

class AudioCapture : public LiveSource {
 public:
  AudioCapture(LPUNKNOWN outer, HRESULT* phr);
  ~AudioCapture() override;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  int GetPinCount() override;
  CBasePin* GetPin(int n) override;

 private:
  CaptureAudio& m_device;
  std::vector<std::unique_ptr<AudioLinePin>> m_lines;
};

}  // namespace plat
