// A holder of a capture device's TV tuner interface, found through the capture pin, with
// the current channel of each of two kinds. The live graphs tune through the device
// control library instead; this tunes through the device's own tuner filter.
#pragma once

#include <dshow/dshow.h>

class CCapturePinFinder {
 public:
  CCapturePinFinder() = default;
  ~CCapturePinFinder();
  CCapturePinFinder(const CCapturePinFinder&) = delete;
  CCapturePinFinder& operator=(const CCapturePinFinder&) = delete;

  void SetValue(int value) { m_value = value; }

  // Finds the tuner upstream of the device's capture pin, interleaved type first, then
  // video. False for a null builder or device, or when no tuner is found.
  BOOL Attach(ICaptureGraphBuilder2* builder, IBaseFilter* device);
  // Kind 1 or 2: stores the channel as that kind's and tunes it. A channel outside the
  // tuner's range is refused (false) and not stored. Any other kind: false.
  BOOL SetChannel(int kind, long channel);
  BOOL ChannelUp(int kind);
  BOOL ChannelDown(int kind);
  long GetChannel(int kind) const;

  // Each false without the tuner or when the tuner refuses.
  BOOL GetChannelRange(long* minimum, long* maximum);
  BOOL IsSignalPresent();
  BOOL GetVideoFrequency(long* hertz);

 private:
  void ReleaseTuner();
  bool InRange(long channel);

  int m_value = 0;
  IAMTVTuner* m_pTuner = nullptr;
  long m_channel2 = 0;
  long m_channel1 = 0;
};
