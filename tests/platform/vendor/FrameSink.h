// A renderer for the filter module tests: one input "In" that takes any type and keeps
// the bytes of every sample that reaches it and whether the stream ended.
#pragma once

#include <dshow/baseclasses/streams.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace vendortest {

class FrameSink : public CBaseFilter {
 public:
  FrameSink();
  ~FrameSink() override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;
  IPin* input();

  std::vector<std::vector<BYTE>> frames() const;
  // Waits (bounded) for the end of the stream; false when the time runs out.
  bool waitForEndOfStream();

 private:
  class Pin;
  CCritSec m_lock;
  std::unique_ptr<Pin> m_pin;
  mutable std::mutex m_dataLock;
  std::condition_variable m_changed;
  std::vector<std::vector<BYTE>> m_frames;
  bool m_ended = false;
};

}  // namespace vendortest
