#include <dshow/baseclasses/COutputQueue.h>

#include <machine/StreamActivity.h>

#include <utility>

COutputQueue::COutputQueue(IPin* pInputPin, HRESULT* phr, BOOL bAuto, BOOL bQueue, LONG lBatchSize, BOOL bBatchExact,
                           LONG lListSize, DWORD, bool)
    : m_pPin(pInputPin), m_pInputPin(nullptr), m_lBatchSize(lBatchSize > 0 ? lBatchSize : 1), m_bBatchExact(bBatchExact) {
  m_pPin->AddRef();
  HRESULT hr = m_pPin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&m_pInputPin));
  if (FAILED(hr)) {
    if (phr) *phr = hr;
    return;
  }
  m_bQueue = bQueue;
  if (bAuto) {
    hr = m_pInputPin->ReceiveCanBlock();
    if (SUCCEEDED(hr)) m_bQueue = hr == S_OK;
  }
  m_batch.reserve(static_cast<size_t>(m_lBatchSize));
  if (m_bQueue) {
    (void)lListSize;  // the list grows as needed; the upstream allocator bounds it
    m_thread = plat::StreamActivity::instance().startThread("output queue", [this] { ThreadProc(); });
  }
}

COutputQueue::~COutputQueue() {
  {
    std::lock_guard guard(m_listLock);
    m_bTerminate = true;
    m_changed.changed();
  }
  m_changed.wake();
  if (m_thread.joinable()) m_thread.join();
  std::lock_guard guard(m_listLock);
  FreeQueued();
  for (IMediaSample* sample : m_batch) sample->Release();
  m_batch.clear();
  if (m_pInputPin) m_pInputPin->Release();
  m_pPin->Release();
}

void COutputQueue::FreeQueued() {
  for (Item& item : m_list)
    if (item.sample) item.sample->Release();
  m_list.clear();
  m_controls = 0;
}

bool COutputQueue::Queue(const Item& item) {
  m_list.push_back(item);
  if (item.kind != Item::Sample) ++m_controls;
  return m_changed.changed();
}

bool COutputQueue::ThreadHasWork(std::size_t held) const {
  if (m_bTerminate) return true;
  if (m_list.empty()) return false;
  return !m_bBatchExact || m_controls > 0 || static_cast<LONG>(held + m_list.size()) >= m_lBatchSize;
}

HRESULT COutputQueue::DeliverBatch(std::vector<IMediaSample*>& batch) {
  if (batch.empty()) return S_OK;
  long done = 0;
  const HRESULT hr = m_pInputPin->ReceiveMultiple(batch.data(), static_cast<long>(batch.size()), &done);
  for (IMediaSample* sample : batch) sample->Release();
  batch.clear();
  return hr;
}

void COutputQueue::ThreadProc() {
  std::vector<IMediaSample*> batch;
  batch.reserve(static_cast<size_t>(m_lBatchSize));
  std::unique_lock guard(m_listLock);
  for (;;) {
    m_changed.wait(guard, [&] { return ThreadHasWork(batch.size()); });
    if (m_bTerminate) return;
    Item item = m_list.front();
    m_list.pop_front();
    if (item.kind != Item::Sample) --m_controls;
    if (item.kind == Item::Sample) {
      batch.push_back(item.sample);
      // Gather the rest of a batch from what is already queued.
      while (static_cast<LONG>(batch.size()) < m_lBatchSize && !m_list.empty() && m_list.front().kind == Item::Sample) {
        batch.push_back(m_list.front().sample);
        m_list.pop_front();
      }
      const bool full = static_cast<LONG>(batch.size()) >= m_lBatchSize;
      if (!full && m_bBatchExact) continue;
    }
    m_bDelivering = true;
    const bool failed = FAILED(m_hr);
    guard.unlock();
    HRESULT hr = S_OK;
    if (failed) {
      for (IMediaSample* sample : batch) sample->Release();
      batch.clear();
    } else {
      hr = DeliverBatch(batch);
    }
    if (item.kind == Item::EndOfStream) m_pPin->EndOfStream();
    if (item.kind == Item::Segment) m_pPin->NewSegment(item.start, item.stop, item.rate);
    plat::WakeSignal::lockSoon(guard);
    m_bDelivering = false;
    if (hr != S_OK && SUCCEEDED(m_hr) && !m_bFlushing) m_hr = hr;
    // Only EndFlush waits for this, and only once asleep does it need telling: while it
    // watches it looks again under the lock when the watch ends. Not counting a change here
    // keeps the count's cache line with the thread that queues.
    if (m_changed.sleepers() > 0 && m_changed.changed()) {
      guard.unlock();
      m_changed.wake();
      guard.lock();
    }
  }
}

HRESULT COutputQueue::Receive(IMediaSample* pSample) {
  long done = 0;
  return ReceiveMultiple(&pSample, 1, &done);
}

HRESULT COutputQueue::ReceiveMultiple(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) {
  if (nSamplesProcessed) *nSamplesProcessed = 0;
  std::unique_lock guard(m_listLock, std::defer_lock);
  plat::WakeSignal::lockSoon(guard);
  if (m_bFlushing || FAILED(m_hr)) {
    const HRESULT hr = m_bFlushing ? S_FALSE : m_hr;
    for (long i = 0; i < nSamples; ++i) pSamples[i]->Release();
    return hr;
  }
  if (m_bQueue) {
    bool wake = false;
    for (long i = 0; i < nSamples; ++i) wake = Queue({Item::Sample, pSamples[i]});
    if (nSamplesProcessed) *nSamplesProcessed = nSamples;
    guard.unlock();
    if (wake) m_changed.wake();
    return S_OK;
  }
  for (long i = 0; i < nSamples; ++i) m_batch.push_back(pSamples[i]);
  if (static_cast<LONG>(m_batch.size()) < m_lBatchSize && m_bBatchExact) {
    if (nSamplesProcessed) *nSamplesProcessed = nSamples;
    return S_OK;
  }
  std::vector<IMediaSample*> batch = std::exchange(m_batch, {});
  guard.unlock();
  const HRESULT hr = DeliverBatch(batch);
  guard.lock();
  if (hr != S_OK && SUCCEEDED(m_hr)) m_hr = hr;
  if (nSamplesProcessed && hr == S_OK) *nSamplesProcessed = nSamples;
  return hr;
}

void COutputQueue::SendAnyway() {
  std::unique_lock guard(m_listLock);
  if (m_bQueue) {
    const bool wake = Queue({Item::SendNow});
    guard.unlock();
    if (wake) m_changed.wake();
    return;
  }
  std::vector<IMediaSample*> batch = std::exchange(m_batch, {});
  guard.unlock();
  const HRESULT hr = DeliverBatch(batch);
  guard.lock();
  if (hr != S_OK && SUCCEEDED(m_hr)) m_hr = hr;
}

void COutputQueue::EOS() {
  std::unique_lock guard(m_listLock);
  if (m_bQueue) {
    const bool wake = Queue({Item::EndOfStream});
    guard.unlock();
    if (wake) m_changed.wake();
    return;
  }
  std::vector<IMediaSample*> batch = std::exchange(m_batch, {});
  guard.unlock();
  DeliverBatch(batch);
  m_pPin->EndOfStream();
}

void COutputQueue::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
  std::unique_lock guard(m_listLock);
  if (m_bQueue) {
    const bool wake = Queue({Item::Segment, nullptr, tStart, tStop, dRate});
    guard.unlock();
    if (wake) m_changed.wake();
    return;
  }
  std::vector<IMediaSample*> batch = std::exchange(m_batch, {});
  guard.unlock();
  DeliverBatch(batch);
  m_pPin->NewSegment(tStart, tStop, dRate);
}

void COutputQueue::BeginFlush() {
  {
    std::lock_guard guard(m_listLock);
    m_bFlushing = true;
    FreeQueued();
    for (IMediaSample* sample : m_batch) sample->Release();
    m_batch.clear();
  }
  // Straight to the pin, so a Receive blocked downstream lets go of our thread.
  m_pPin->BeginFlush();
}

void COutputQueue::EndFlush() {
  {
    std::unique_lock guard(m_listLock);
    m_changed.wait(guard, [&] { return !m_bDelivering; });
    FreeQueued();
  }
  m_pPin->EndFlush();
  std::lock_guard guard(m_listLock);
  m_bFlushing = false;
  m_hr = S_OK;
}

void COutputQueue::Reset() {
  std::lock_guard guard(m_listLock);
  m_hr = S_OK;
}

BOOL COutputQueue::IsIdle() {
  std::lock_guard guard(m_listLock);
  return m_list.empty() && m_batch.empty() && !m_bDelivering;
}
