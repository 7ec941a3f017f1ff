#include "TestFilters.h"

#include <machine/StreamActivity.h>
#include <support/Settling.h>
#include <support/TestMachine.h>

#include <gtest/gtest.h>

using dstest::ConvertTransform;
using dstest::firstPin;
using dstest::PushSource;
using dstest::SinkFilter;
using dstest::videoType;
using plat::ComPtr;

namespace {

// A sink connected to a source, paused, with an allocator of its own to make samples from.
class OutputQueueTest : public test::MachineTest {
 protected:
  void SetUp() override {
    source = new PushSource(videoType(MEDIASUBTYPE_YUY2), 0);
    sink = new SinkFilter();
    sourceRef = ComPtr<IBaseFilter>(source);
    sinkRef = ComPtr<IBaseFilter>(sink);
    ASSERT_EQ(firstPin(source, PINDIR_OUTPUT)->Connect(firstPin(sink, PINDIR_INPUT), nullptr), S_OK);
    ASSERT_EQ(sink->Pause(), S_OK);
    ASSERT_EQ(CreateMemoryAllocator(allocator.put()), S_OK);
    ALLOCATOR_PROPERTIES wanted{8, 16, 1, 0};
    ALLOCATOR_PROPERTIES actual{};
    ASSERT_EQ(allocator->SetProperties(&wanted, &actual), S_OK);
    ASSERT_EQ(allocator->Commit(), S_OK);
  }
  void TearDown() override { dstest::disconnectAll({source, sink}); }

  // A sample whose first byte is `n`; the caller owns its one reference.
  IMediaSample* sample(int n) {
    IMediaSample* s = nullptr;
    EXPECT_EQ(allocator->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    BYTE* data = nullptr;
    s->GetPointer(&data);
    data[0] = static_cast<BYTE>(n);
    return s;
  }
  long outstanding() {
    return static_cast<CBaseAllocator*>(allocator.get())->OutstandingCount();
  }

  PushSource* source = nullptr;
  SinkFilter* sink = nullptr;
  ComPtr<IBaseFilter> sourceRef;
  ComPtr<IBaseFilter> sinkRef;
  ComPtr<IMemAllocator> allocator;
};

}  // namespace

TEST_F(OutputQueueTest, AutomaticModeQueuesOnlyForPinsThatCanBlock) {
  HRESULT hr = S_OK;
  // A renderer's input can block: a thread of its own.
  COutputQueue toSink(firstPin(sink, PINDIR_INPUT), &hr, TRUE, FALSE);
  EXPECT_TRUE(toSink.IsQueued());
  // A transform with nothing downstream cannot: delivered directly.
  auto* convert = new ConvertTransform(MEDIASUBTYPE_YUY2, MEDIASUBTYPE_RGB24);
  ComPtr<IBaseFilter> convertRef(convert);
  COutputQueue toTransform(firstPin(convert, PINDIR_INPUT), &hr, TRUE, TRUE);
  EXPECT_FALSE(toTransform.IsQueued());
  EXPECT_EQ(hr, S_OK);
}

TEST_F(OutputQueueTest, QueuedSamplesArriveInOrderBeforeEndOfStream) {
  HRESULT hr = S_OK;
  {
    COutputQueue queue(firstPin(sink, PINDIR_INPUT), &hr, TRUE, FALSE, 2);
    for (int n = 0; n < 5; ++n) EXPECT_EQ(queue.Receive(sample(n)), S_OK);
    queue.EOS();
    ASSERT_TRUE(sink->waitForEndOfStream());
    ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return queue.IsIdle() != FALSE; }));
  }
  const auto samples = sink->samples();
  ASSERT_EQ(samples.size(), 5u);
  for (int n = 0; n < 5; ++n) EXPECT_EQ(samples[static_cast<size_t>(n)].frame, n);
  EXPECT_EQ(outstanding(), 0);
}

// The queue's thread takes samples without the queue's lock and sleeps only under it; the
// thread that queues counts a sleeping one busy before Receive returns, so a settle after
// each sample finds it delivered, whether the thread was watching or asleep, across the
// queue's blocks of samples.
TEST_F(OutputQueueTest, EachSampleQueuedIsDeliveredOnceTheStreamingThreadsSettle) {
  HRESULT hr = S_OK;
  COutputQueue queue(firstPin(sink, PINDIR_INPUT), &hr);
  ASSERT_TRUE(queue.IsQueued());
  plat::StreamActivity& streams = plat::StreamActivity::instance();
  for (int n = 0; n < 2000; ++n) {
    ASSERT_EQ(queue.Receive(sample(n % 256)), S_OK);
    ASSERT_TRUE(streams.settle(machine().clock()));
    ASSERT_EQ(sink->samples().size(), static_cast<std::size_t>(n + 1)) << "sample " << n;
    ASSERT_TRUE(queue.IsIdle()) << "sample " << n;
  }
  EXPECT_EQ(outstanding(), 0);
}

TEST_F(OutputQueueTest, BeginFlushDropsWhatIsQueuedAndFreesABlockedDelivery) {
  HRESULT hr = S_OK;
  sink->setBlocking(true);
  COutputQueue queue(firstPin(sink, PINDIR_INPUT), &hr);
  for (int n = 0; n < 4; ++n) queue.Receive(sample(n));
  ASSERT_TRUE(sink->waitUntilBlocked());
  queue.BeginFlush();
  EXPECT_EQ(queue.Receive(sample(9)), S_FALSE);
  queue.EndFlush();
  EXPECT_EQ(sink->samples().size(), 1u);
  EXPECT_EQ(outstanding(), 0);
  sink->setBlocking(false);
  EXPECT_EQ(queue.Receive(sample(5)), S_OK);
  EXPECT_TRUE(sink->waitForSamples(2));
}

TEST_F(OutputQueueTest, AFailedDeliveryIsReturnedUntilTheQueueIsReset) {
  HRESULT hr = S_OK;
  COutputQueue queue(firstPin(sink, PINDIR_INPUT), &hr, FALSE, FALSE);
  ASSERT_FALSE(queue.IsQueued());
  ASSERT_EQ(sink->Stop(), S_OK);
  EXPECT_EQ(queue.Receive(sample(1)), VFW_E_WRONG_STATE);
  ASSERT_EQ(sink->Pause(), S_OK);
  EXPECT_EQ(queue.Receive(sample(2)), VFW_E_WRONG_STATE);
  queue.Reset();
  EXPECT_EQ(queue.Receive(sample(3)), S_OK);
  EXPECT_EQ(outstanding(), 0);
}

TEST_F(OutputQueueTest, DirectBatchesWaitForTheirSizeWhenExact) {
  HRESULT hr = S_OK;
  COutputQueue queue(firstPin(sink, PINDIR_INPUT), &hr, FALSE, FALSE, 3, TRUE);
  queue.Receive(sample(1));
  queue.Receive(sample(2));
  EXPECT_EQ(sink->samples().size(), 0u);
  queue.Receive(sample(3));
  EXPECT_EQ(sink->samples().size(), 3u);
  queue.Receive(sample(4));
  queue.SendAnyway();
  EXPECT_EQ(sink->samples().size(), 4u);
}

// The queue's thread is woken for exact batches only when one is whole: it must still
// wake for the batch it completes from samples it already holds, and an end of stream
// behind a partial batch sends that batch first.
TEST_F(OutputQueueTest, QueuedExactBatchesGoWhenWholeOrBeforeAnEndOfStream) {
  HRESULT hr = S_OK;
  COutputQueue queue(firstPin(sink, PINDIR_INPUT), &hr, FALSE, TRUE, 3, TRUE);
  ASSERT_TRUE(queue.IsQueued());
  for (int n = 1; n <= 7; ++n) ASSERT_EQ(queue.Receive(sample(n)), S_OK);
  ASSERT_TRUE(sink->waitForSamples(6));
  queue.EOS();
  ASSERT_TRUE(sink->waitForEndOfStream());
  const auto received = sink->samples();
  ASSERT_EQ(received.size(), 7u);
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(received[static_cast<std::size_t>(n - 1)].frame, n);
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return queue.IsIdle() != FALSE; }));
  EXPECT_EQ(outstanding(), 0);
}

// A round wakes its queues' threads when it ends, however many queues it holds: past its
// room for queues it wakes those it has and goes on.
TEST_F(OutputQueueTest, ARoundWakesEveryQueuesSleepingThreadWhenItEnds) {
  for (const int queues : {16, 17}) {
    HRESULT hr = S_OK;
    std::vector<std::unique_ptr<COutputQueue>> all;
    for (int n = 0; n < queues; ++n) all.push_back(std::make_unique<COutputQueue>(firstPin(sink, PINDIR_INPUT), &hr));
    const std::size_t before = sink->samples().size();
    // Every thread asleep first: a round that failed to wake one leaves its sample queued.
    ASSERT_TRUE(plat::StreamActivity::instance().settle(machine().clock()));
    IMediaSample* shared = sample(queues);
    {
      COutputQueue::Round round;
      for (auto& queue : all) {
        shared->AddRef();
        ASSERT_EQ(queue->Receive(shared), S_OK);
      }
    }
    shared->Release();
    ASSERT_TRUE(plat::StreamActivity::instance().settle(machine().clock()));
    EXPECT_EQ(sink->samples().size() - before, static_cast<std::size_t>(queues)) << queues << " queues";
    for (auto& queue : all) EXPECT_TRUE(queue->IsIdle());
    all.clear();
    EXPECT_EQ(outstanding(), 0);
  }
}

// Samples are queued without the queue's lock while a flush may begin on another thread:
// each is delivered or dropped, none is left behind or freed twice.
TEST_F(OutputQueueTest, SamplesQueuedWhileAnotherThreadFlushesAreDeliveredOrDropped) {
  HRESULT hr = S_OK;
  COutputQueue queue(firstPin(sink, PINDIR_INPUT), &hr);
  std::atomic<bool> done{false};
  std::thread flusher([&] {
    while (!done.load()) {
      queue.BeginFlush();
      queue.EndFlush();
    }
  });
  for (int n = 0; n < 3000; ++n) {
    const HRESULT received = queue.Receive(sample(n % 256));
    ASSERT_TRUE(received == S_OK || received == S_FALSE) << std::hex << received;
  }
  done.store(true);
  flusher.join();
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return queue.IsIdle() != FALSE; }));
  EXPECT_EQ(outstanding(), 0);
}
