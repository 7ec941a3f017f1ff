// Delivers samples to one downstream input pin, either directly on the caller's thread
// or through a queue served by a thread of its own. In automatic mode the queue is used
// exactly when the downstream pin says its Receive can block, so one slow branch of a
// tee does not hold up the others.
//
// Receive takes over the caller's reference to the sample. Samples are handed on in
// batches of lBatchSize (a partial batch waits only when bBatchExact is set; SendAnyway
// flushes it). End of stream and new segments travel in order with the samples. After a
// delivery fails, Receive refuses further samples with that error until EndFlush.
// BeginFlush throws away what is queued and passes the flush on at once, so a blocked
// downstream Receive can return; EndFlush waits for the thread to be idle first.
//
// The queue's thread takes items without a lock (plat::HandOffChain), and samples are
// queued without one: Receive, EOS, NewSegment and SendAnyway come from one thread at a
// time, the upstream streaming thread, as for any input pin. The lock is taken to queue
// the other items, to flush, to sleep and to record a failure. The thread is woken only
// when it sleeps: after a delivery it watches the queue for a moment before sleeping
// (plat::WakeSignal), and with bBatchExact it is not woken before a whole batch or a
// control item is queued.
//
// A thread handing one sample to several queues (a tee) does so in a Round: each queue's
// thread is looked at, and woken if it sleeps, when the round ends, so the hand-offs'
// writes travel to the other threads' cores together instead of one queue after another.
#pragma once

#include <dshow/baseclasses/CCritSec.h>
#include <dshow/baseclasses/HandOffChain.h>
#include <dshow/baseclasses/WakeSignal.h>
#include <dshow/strmif.h>

#include <array>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#ifndef THREAD_PRIORITY_NORMAL
#define THREAD_PRIORITY_NORMAL 0
#endif
#define DEFAULTCACHE 10

class COutputQueue : public CCritSec {
 public:
  // While one exists, the samples its thread queues wake the queues' threads when it ends
  // (or before a delivery on its thread) rather than at once. Rounds nest.
  class Round {
   public:
    Round();
    ~Round();
    Round(const Round&) = delete;
    Round& operator=(const Round&) = delete;

   private:
    friend class COutputQueue;
    // The thread's innermost round, or null.
    static Round* Current();
    void Add(COutputQueue* queue);
    // Wakes what was added and starts afresh.
    void Finish();

    Round* m_outer;
    std::array<COutputQueue*, 16> m_queues{};
    std::size_t m_count = 0;
  };

  COutputQueue(IPin* pInputPin, HRESULT* phr, BOOL bAuto = TRUE, BOOL bQueue = TRUE, LONG lBatchSize = 1,
               BOOL bBatchExact = FALSE, LONG lListSize = DEFAULTCACHE, DWORD dwPriority = THREAD_PRIORITY_NORMAL,
               bool bFlushingOpt = false);
  ~COutputQueue();
  COutputQueue(const COutputQueue&) = delete;
  COutputQueue& operator=(const COutputQueue&) = delete;

  void BeginFlush();
  void EndFlush();
  void EOS();
  void SendAnyway();
  void NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate);
  HRESULT Receive(IMediaSample* pSample);
  HRESULT ReceiveMultiple(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed);
  // Forgets a delivery error so samples flow again.
  void Reset();
  // True when nothing is queued or being delivered.
  BOOL IsIdle();
  // Whether this queue delivers on its own thread.
  BOOL IsQueued() const { return m_bQueue; }

 private:
  struct Item {
    enum Kind { Sample, EndOfStream, Segment, SendNow } kind;
    IMediaSample* sample = nullptr;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    double rate = 1.0;
  };

  void ThreadProc();
  // Why samples are refused now (a flush, a failed delivery), or S_OK.
  HRESULT Refusal() const;
  // Queues samples without the lock (the caller's thread is the only one queueing).
  HRESULT QueueSamples(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed);
  // After samples were queued without the lock and a sequentially consistent fence: drops
  // what slipped in past a flush's start, and wakes the thread if it sleeps.
  void AfterQueueing();
  // Returns once the thread holding `held` gathered samples has work (or must end).
  void AwaitWork(std::size_t held);
  // Whether the thread holding `held` gathered samples has work.
  bool ThreadHasWork(std::size_t held) const;
  // Takes the next item, gathering the rest of a batch of samples into `batch`; false when
  // an exact batch is still short.
  bool TakeItem(Item& item, std::vector<IMediaSample*>& batch);
  // Delivers the batch outside every lock; the samples' references are dropped.
  HRESULT DeliverBatch(std::vector<IMediaSample*>& batch);
  // After a delivery (or a take that found nothing to deliver): records a failure and
  // tells a waiting EndFlush.
  void FinishDelivery(HRESULT hr);
  void FreeQueued();  // under m_listLock
  // Under m_listLock held by `guard`: queues an item, waking the thread if it sleeps.
  void Queue(const Item& item, std::unique_lock<std::mutex>& guard);
  // Under m_listLock held by `guard`, after queueing: wakes the thread if it sleeps (the
  // lock is let go first then).
  void WakeThread(std::unique_lock<std::mutex>& guard);
  // Under m_listLock held by `guard`: tells the waiters of a change; a sleeping one is woken
  // once the lock is let go.
  void TellWaiters(std::unique_lock<std::mutex>& guard);

  IPin* m_pPin;                // counted
  IMemInputPin* m_pInputPin;   // counted
  BOOL m_bQueue = FALSE;
  LONG m_lBatchSize;
  BOOL m_bBatchExact;

  // The putting side's, taken each sample: on a cache line of its own, away from what the
  // thread reads each sample. The thread takes it only to sleep.
  alignas(64) std::mutex m_listLock;
  alignas(64) plat::WakeSignal m_changed;
  plat::HandOffChain<Item> m_list;
  std::atomic<std::size_t> m_controls{0};  // queued items that are not samples
  std::vector<IMediaSample*> m_batch;  // direct mode's partial batch, under m_listLock
  std::atomic<bool> m_bTerminate{false};
  std::atomic<bool> m_bFlushing{false};  // written under m_listLock
  std::atomic<HRESULT> m_hr{S_OK};  // written under m_listLock
  std::thread m_thread;
  // The thread's, taken or written each sample: on cache lines of their own, away from what
  // the queueing side uses.
  alignas(64) std::mutex m_takeLock;  // taking from m_list: the thread, or a flush emptying it
  std::atomic<bool> m_bDelivering{false};
  std::atomic<bool> m_bEndFlushWaits{false};
};
