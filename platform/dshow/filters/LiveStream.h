// An output pin of a live source (a capture device): it delivers only while the graph
// runs, one sample each period, stamped with the stream time it was captured at. It
// waits for each capture time on the graph clock (the machine clock), so a test that
// advances a manual clock by one period gets one more sample, and a settled clock knows
// the capture due at its time has been delivered. A paused live source cannot show a
// picture (GetState answers VFW_S_CANT_CUE for its filter).
//
// The filter's state changes only after its pins hear of a run, so the filter tells its
// live pins once it runs (filterRuns); while not running the thread waits for that or for
// a command, with no time-out.
//
// A derived pin gives the period and fills each sample; deviceReady() false skips
// captures (an unplugged device) without ending the stream.
#pragma once

#include <dshow/baseclasses/CSourceStream.h>
#include <dshow/engine/ClockWait.h>

#include <cstdint>

namespace plat {

class LiveStream : public CSourceStream {
 public:
  LiveStream(const char* pObjectName, HRESULT* phr, CSource* pms, LPCWSTR pName);

  HRESULT Inactive() override;
  // `filter` runs now (called once its state says so): its paused live streams start
  // capturing at once.
  static void filterRuns(CSource& filter);

 protected:
  virtual REFERENCE_TIME period() = 0;
  // Fills a sample captured at stream time `start`; `index` counts captures since the run began.
  virtual HRESULT fillAt(IMediaSample* sample, REFERENCE_TIME start, std::uint64_t index) = 0;
  virtual bool deviceReady() { return true; }

  HRESULT FillBuffer(IMediaSample*) override { return E_UNEXPECTED; }
  HRESULT DoBufferProcessingLoop() override;
  void OnCommandPending() override { m_wait.notify(); }

 private:
  bool running();
  REFERENCE_TIME streamNow();
  bool commandPending() { return CheckRequest(nullptr) != FALSE; }

  ClockWait m_wait;
  REFERENCE_TIME m_startedAt = 0;  // machine time of the run, for a graph without a clock
};

}  // namespace plat
