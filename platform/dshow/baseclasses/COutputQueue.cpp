#include <dshow/baseclasses/COutputQueue.h>

#include <machine/StreamActivity.h>

#include <utility>

namespace {
thread_local COutputQueue::Round* t_round = nullptr;
}  // namespace

COutputQueue::Round::Round() : m_outer(t_round) { t_round = this; }

COutputQueue::Round::~Round() {
  Finish();
  t_round = m_outer;
}

COutputQueue::Round* COutputQueue::Round::Current() { return t_round; }

void COutputQueue::Round::Add(COutputQueue* queue) {
  if (m_count == m_queues.size()) Finish();
  m_queues[m_count++] = queue;
}

void COutputQueue::Round::Finish() {
  if (m_count == 0) return;
  // One fence for every queue of the round: their writes are on their way together.
  std::atomic_thread_fence(std::memory_order_seq_cst);
  for (std::size_t n = 0; n < m_count; ++n) m_queues[n]->AfterQueueing();
  m_count = 0;
}

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
    m_bTerminate.store(true);
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
  std::lock_guard taking(m_takeLock);
  for (Item* item = m_list.front(); item; item = m_list.front()) {
    if (item->sample) item->sample->Release();
    if (item->kind != Item::Sample) m_controls.fetch_sub(1);
    m_list.pop();
  }
}

void COutputQueue::Queue(const Item& item, std::unique_lock<std::mutex>& guard) {
  // Counted before it is put: the thread that finds the item finds the count.
  if (item.kind != Item::Sample) m_controls.fetch_add(1);
  m_list.put(item);
  WakeThread(guard);
}

void COutputQueue::WakeThread(std::unique_lock<std::mutex>& guard) {
  // The thread sleeps only under the lock held here, after a last look at the queue.
  if (m_changed.sleepers() > 0) TellWaiters(guard);
}

void COutputQueue::TellWaiters(std::unique_lock<std::mutex>& guard) {
  if (!m_changed.changed()) return;
  guard.unlock();
  m_changed.wake();
}

bool COutputQueue::ThreadHasWork(std::size_t held) const {
  if (m_bTerminate.load()) return true;
  const std::size_t queued = m_list.size();
  if (queued == 0) return false;
  return !m_bBatchExact || m_controls.load() > 0 || static_cast<LONG>(held + queued) >= m_lBatchSize;
}

void COutputQueue::AwaitWork(std::size_t held) {
  const unsigned seen = m_list.putCount().load(std::memory_order_acquire);
  if (ThreadHasWork(held)) return;
  if (m_changed.watching()) {
    plat::WakeSignal::watch(m_list.putCount(), seen);
    if (ThreadHasWork(held)) return;
  }
  std::unique_lock guard(m_listLock, std::defer_lock);
  plat::WakeSignal::lockSoon(guard);
  m_changed.sleep(guard, [&] { return ThreadHasWork(held); });
}

bool COutputQueue::TakeItem(Item& item, std::vector<IMediaSample*>& batch) {
  // Delivering from before the take: IsIdle never finds the item neither queued nor taken.
  m_bDelivering.store(true);
  std::lock_guard taking(m_takeLock);
  const Item* next = m_list.front();
  if (!next) return false;  // a flush emptied the queue
  item = *next;
  m_list.pop();
  if (item.kind != Item::Sample) {
    m_controls.fetch_sub(1);
    return true;
  }
  batch.push_back(item.sample);
  // Gather the rest of a batch from what is already queued.
  while (static_cast<LONG>(batch.size()) < m_lBatchSize && (next = m_list.front()) && next->kind == Item::Sample) {
    batch.push_back(next->sample);
    m_list.pop();
  }
  return !m_bBatchExact || static_cast<LONG>(batch.size()) >= m_lBatchSize;
}

HRESULT COutputQueue::DeliverBatch(std::vector<IMediaSample*>& batch) {
  if (batch.empty()) return S_OK;
  long done = 0;
  const HRESULT hr = m_pInputPin->ReceiveMultiple(batch.data(), static_cast<long>(batch.size()), &done);
  for (IMediaSample* sample : batch) sample->Release();
  batch.clear();
  return hr;
}

void COutputQueue::FinishDelivery(HRESULT hr) {
  if (hr != S_OK) {
    std::lock_guard guard(m_listLock);
    if (SUCCEEDED(m_hr.load()) && !m_bFlushing.load()) m_hr.store(hr);
  }
  // Only EndFlush waits for this; it says so before it looks, and is told after this store.
  m_bDelivering.store(false);
  if (!m_bEndFlushWaits.load()) return;
  std::unique_lock guard(m_listLock);
  TellWaiters(guard);
}

void COutputQueue::ThreadProc() {
  std::vector<IMediaSample*> batch;
  batch.reserve(static_cast<size_t>(m_lBatchSize));
  for (;;) {
    AwaitWork(batch.size());
    if (m_bTerminate.load()) return;
    Item item{};
    if (!TakeItem(item, batch)) {
      FinishDelivery(S_OK);
      continue;
    }
    HRESULT hr = S_OK;
    if (FAILED(m_hr.load())) {
      for (IMediaSample* sample : batch) sample->Release();
      batch.clear();
    } else {
      hr = DeliverBatch(batch);
    }
    if (item.kind == Item::EndOfStream) m_pPin->EndOfStream();
    if (item.kind == Item::Segment) m_pPin->NewSegment(item.start, item.stop, item.rate);
    FinishDelivery(hr);
  }
}

HRESULT COutputQueue::Receive(IMediaSample* pSample) {
  long done = 0;
  return ReceiveMultiple(&pSample, 1, &done);
}

HRESULT COutputQueue::Refusal() const {
  if (m_bFlushing.load()) return S_FALSE;
  const HRESULT hr = m_hr.load();
  return FAILED(hr) ? hr : S_OK;
}

HRESULT COutputQueue::QueueSamples(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) {
  if (const HRESULT hr = Refusal(); hr != S_OK) {
    for (long i = 0; i < nSamples; ++i) pSamples[i]->Release();
    return hr;
  }
  for (long i = 0; i < nSamples; ++i) m_list.put({Item::Sample, pSamples[i]});
  if (nSamplesProcessed) *nSamplesProcessed = nSamples;
  if (Round* round = Round::Current()) {
    round->Add(this);
  } else {
    std::atomic_thread_fence(std::memory_order_seq_cst);
    AfterQueueing();
  }
  return S_OK;
}

void COutputQueue::AfterQueueing() {
  // A flush that began after the look above may have emptied the queue before these
  // samples came: they go as its own would have. One that began later found them.
  if (m_bFlushing.load(std::memory_order_relaxed)) {
    std::lock_guard guard(m_listLock);
    if (m_bFlushing.load()) FreeQueued();
  }
  if (!m_changed.sleepingNow()) return;
  std::unique_lock guard(m_listLock);
  WakeThread(guard);
}

HRESULT COutputQueue::ReceiveMultiple(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) {
  if (nSamplesProcessed) *nSamplesProcessed = 0;
  if (m_bQueue) return QueueSamples(pSamples, nSamples, nSamplesProcessed);
  // A delivery on this thread may wait for a branch whose thread the round has yet to wake.
  if (Round* round = Round::Current()) round->Finish();
  std::unique_lock guard(m_listLock, std::defer_lock);
  plat::WakeSignal::lockSoon(guard);
  if (const HRESULT hr = Refusal(); hr != S_OK) {
    for (long i = 0; i < nSamples; ++i) pSamples[i]->Release();
    return hr;
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
  if (hr != S_OK && SUCCEEDED(m_hr.load())) m_hr.store(hr);
  if (nSamplesProcessed && hr == S_OK) *nSamplesProcessed = nSamples;
  return hr;
}

void COutputQueue::SendAnyway() {
  std::unique_lock guard(m_listLock);
  if (m_bQueue) {
    Queue({Item::SendNow}, guard);
    return;
  }
  std::vector<IMediaSample*> batch = std::exchange(m_batch, {});
  guard.unlock();
  const HRESULT hr = DeliverBatch(batch);
  guard.lock();
  if (hr != S_OK && SUCCEEDED(m_hr.load())) m_hr.store(hr);
}

void COutputQueue::EOS() {
  std::unique_lock guard(m_listLock);
  if (m_bQueue) {
    Queue({Item::EndOfStream}, guard);
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
    Queue({Item::Segment, nullptr, tStart, tStop, dRate}, guard);
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
    m_bFlushing.store(true);
    // Against a sample queued without the lock meanwhile: this look at the queue finds it,
    // or its queuing thread finds the flag (AfterQueueing).
    std::atomic_thread_fence(std::memory_order_seq_cst);
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
    // Said before the look at the thread, which looks for it after it stops delivering.
    m_bEndFlushWaits.store(true);
    m_changed.wait(guard, [&] { return !m_bDelivering.load(); });
    m_bEndFlushWaits.store(false);
    FreeQueued();
  }
  m_pPin->EndFlush();
  std::lock_guard guard(m_listLock);
  m_bFlushing.store(false);
  m_hr.store(S_OK);
}

void COutputQueue::Reset() {
  std::lock_guard guard(m_listLock);
  m_hr.store(S_OK);
}

BOOL COutputQueue::IsIdle() {
  std::lock_guard guard(m_listLock);
  // The queue before the thread: a taken item is delivering by then.
  return m_list.empty() && m_batch.empty() && !m_bDelivering.load();
}
