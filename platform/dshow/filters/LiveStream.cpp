#include <dshow/filters/LiveStream.h>

#include <dshow/baseclasses/CSource.h>

namespace plat {

namespace {
constexpr REFERENCE_TIME kLongStall = 10'000'000;  // a second
}

LiveStream::LiveStream(const char* pObjectName, HRESULT* phr, CSource* pms, LPCWSTR pName)
    : CSourceStream(pObjectName, phr, pms, pName) {}

HRESULT LiveStream::Inactive() {
  // A thread waiting for its next capture time lets go at once.
  m_wait.cancel();
  const HRESULT hr = CSourceStream::Inactive();
  m_wait.reset();
  return hr;
}

void LiveStream::filterRuns(CSource& filter) {
  for (int i = 0; i < filter.GetPinCount(); ++i)
    if (auto* live = dynamic_cast<LiveStream*>(filter.GetPin(i))) live->m_wait.notify();
}

bool LiveStream::running() {
  FILTER_STATE state = State_Stopped;
  m_pFilter->GetState(0, &state);
  return state == State_Running;
}

REFERENCE_TIME LiveStream::streamNow() {
  REFERENCE_TIME now = 0;
  if (SUCCEEDED(m_pFilter->StreamTime(now))) return now;
  return ClockWait::now() - m_startedAt;
}

HRESULT LiveStream::DoBufferProcessingLoop() {
  OnThreadStartPlay();
  m_startedAt = ClockWait::now();
  std::uint64_t index = 0;
  REFERENCE_TIME next = -1;
  for (;;) {
    Command com = CMD_STOP;
    if (CheckRequest(&com)) {
      if (com != CMD_RUN && com != CMD_PAUSE) return S_FALSE;
      Reply(S_OK);
      continue;
    }
    if (!running()) {
      next = -1;
      if (!m_wait.waitFor([&] { return commandPending() || running(); }, -1) && m_wait.cancelled()) GetRequest();
      continue;
    }
    const REFERENCE_TIME each = period() > 0 ? period() : 400'000;
    const REFERENCE_TIME now = streamNow();
    // The first capture is at once, on the period boundary just passed. A stream that
    // fell behind catches up frame by frame, as a driver's queue would; after a long
    // stall the frames missed are lost and capture goes on from now.
    if (next < 0 || now - next > kLongStall) next = now - now % each;
    const REFERENCE_TIME due = ClockWait::now() + (next - now);
    if (!m_wait.waitFor([&] { return commandPending() || !running() || streamNow() >= next; }, due) && m_wait.cancelled()) {
      GetRequest();  // stopping: the command follows
      continue;
    }
    if (commandPending() || !running() || streamNow() < next) continue;
    if (deviceReady()) {
      IMediaSample* sample = nullptr;
      if (FAILED(GetDeliveryBuffer(&sample, nullptr, nullptr, 0))) {
        GetRequest();  // decommitted: downstream stopped, our own stop follows
        continue;
      }
      REFERENCE_TIME start = next;
      REFERENCE_TIME stop = next + each;
      sample->SetTime(&start, &stop);
      sample->SetSyncPoint(TRUE);
      sample->SetDiscontinuity(index == 0);
      if (SUCCEEDED(fillAt(sample, start, index))) Deliver(sample);
      sample->Release();
      ++index;
    }
    next += each;
  }
}

}  // namespace plat
