#include "TestFilters.h"

#include <support/Settling.h>

#include <support/TestMachine.h>

#include <gtest/gtest.h>

using dstest::AddTenInPlace;
using dstest::ConvertTransform;
using dstest::firstPin;
using dstest::PushSource;
using dstest::SinkFilter;
using dstest::videoType;
using plat::ComPtr;

namespace {

HRESULT connect(IBaseFilter* up, IBaseFilter* down) {
  return firstPin(up, PINDIR_OUTPUT)->Connect(firstPin(down, PINDIR_INPUT), nullptr);
}

// Filters change state downstream first, as the graph does.
void setState(std::initializer_list<IBaseFilter*> downstreamFirst, FILTER_STATE state) {
  for (IBaseFilter* filter : downstreamFirst) {
    if (state == State_Stopped) filter->Stop();
    else if (state == State_Paused) filter->Pause();
    else filter->Run(0);
  }
}

// Pauses the chain until the sink has heard the end of the stream, then stops it.
void playToEnd(std::initializer_list<IBaseFilter*> downstreamFirst, SinkFilter* sink) {
  setState(downstreamFirst, State_Paused);
  ASSERT_TRUE(sink->waitForEndOfStream());
  setState(downstreamFirst, State_Stopped);
}

// The allocator the filter's input pin offers upstream.
ComPtr<IMemAllocator> inputAllocator(IBaseFilter* filter) {
  ComPtr<IMemInputPin> input;
  EXPECT_EQ(firstPin(filter, PINDIR_INPUT)->QueryInterface(IID_IMemInputPin, input.putVoid()), S_OK);
  ComPtr<IMemAllocator> allocator;
  if (input) input->GetAllocator(allocator.put());
  return allocator;
}

class StreamingTest : public test::MachineTest {};

}  // namespace

TEST_F(StreamingTest, ASourcePushesItsFramesInOrderThenEndsTheStream) {
  auto* source = new PushSource(videoType(MEDIASUBTYPE_YUY2), 5);
  auto* sink = new SinkFilter();
  ComPtr<IBaseFilter> a(source), b(sink);
  ASSERT_EQ(connect(source, sink), S_OK);
  ASSERT_NO_FATAL_FAILURE(playToEnd({sink, source}, sink));

  const auto samples = sink->samples();
  ASSERT_EQ(samples.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(samples[static_cast<size_t>(i)].frame, i);
    EXPECT_EQ(samples[static_cast<size_t>(i)].start, i * 400000LL);
    EXPECT_EQ(samples[static_cast<size_t>(i)].stop, (i + 1) * 400000LL);
  }
  EXPECT_EQ(sink->endOfStreams(), 1);
  dstest::disconnectAll({source, sink});
}

TEST_F(StreamingTest, ATransformMakesNewSamplesWithTheSameTimes) {
  auto* source = new PushSource(videoType(MEDIASUBTYPE_YUY2), 3);
  auto* convert = new ConvertTransform(MEDIASUBTYPE_YUY2, MEDIASUBTYPE_RGB24);
  auto* sink = new SinkFilter({MEDIASUBTYPE_RGB24});
  ComPtr<IBaseFilter> a(source), b(convert), c(sink);
  // The output offers nothing before the input knows its type.
  EXPECT_NE(firstPin(convert, PINDIR_OUTPUT)->Connect(firstPin(sink, PINDIR_INPUT), nullptr), S_OK);
  ASSERT_EQ(connect(source, convert), S_OK);
  ASSERT_EQ(connect(convert, sink), S_OK);
  ASSERT_NO_FATAL_FAILURE(playToEnd({sink, convert, source}, sink));

  const auto samples = sink->samples();
  ASSERT_EQ(samples.size(), 3u);
  EXPECT_EQ(samples[2].frame, 3);  // frame 2, plus one
  EXPECT_EQ(samples[2].start, 800000);
  dstest::disconnectAll({source, convert, sink});
}

TEST_F(StreamingTest, AnInPlaceTransformWorksOnTheSamplesItPasses) {
  auto* source = new PushSource(videoType(MEDIASUBTYPE_YUY2), 2);
  auto* addTen = new AddTenInPlace();
  auto* sink = new SinkFilter();
  ComPtr<IBaseFilter> a(source), b(addTen), c(sink);
  ASSERT_EQ(connect(source, addTen), S_OK);
  ASSERT_EQ(connect(addTen, sink), S_OK);
  // One allocator serves the chain: the sink's is the one the in-place input offers.
  EXPECT_EQ(inputAllocator(addTen).get(), inputAllocator(sink).get());

  ASSERT_NO_FATAL_FAILURE(playToEnd({sink, addTen, source}, sink));
  const auto samples = sink->samples();
  ASSERT_EQ(samples.size(), 2u);
  EXPECT_EQ(samples[0].frame, 10);
  EXPECT_EQ(samples[1].frame, 11);
  dstest::disconnectAll({source, addTen, sink});
}

TEST_F(StreamingTest, AnInPlaceTransformChangesCopiesOfReadOnlySamplesFromAPoolOfItsOwn) {
  auto* source = new PushSource(videoType(MEDIASUBTYPE_YUY2), 2);
  auto* addTen = new AddTenInPlace();
  auto* sink = new SinkFilter();
  ComPtr<IBaseFilter> a(source), b(addTen), c(sink);
  ASSERT_EQ(connect(source, addTen), S_OK);
  // Upstream hands its samples over read-only, as a tee's branches get them.
  ComPtr<IMemInputPin> addTenInput;
  ASSERT_EQ(firstPin(addTen, PINDIR_INPUT)->QueryInterface(IID_IMemInputPin, addTenInput.putVoid()), S_OK);
  ComPtr<IMemAllocator> upstream;
  ASSERT_EQ(addTenInput->GetAllocator(upstream.put()), S_OK);
  ASSERT_EQ(addTenInput->NotifyAllocator(upstream.get(), TRUE), S_OK);
  ASSERT_EQ(connect(addTen, sink), S_OK);
  // The copies come from another pool, so they never wait for samples upstream still holds.
  EXPECT_NE(inputAllocator(sink).get(), upstream.get());

  ASSERT_NO_FATAL_FAILURE(playToEnd({sink, addTen, source}, sink));
  const auto samples = sink->samples();
  ASSERT_EQ(samples.size(), 2u);
  EXPECT_EQ(samples[0].frame, 10);
  EXPECT_EQ(samples[1].frame, 11);
  dstest::disconnectAll({source, addTen, sink});
}

// An endless source, a converting transform and a sink, running, with the transform's
// streaming thread held in the sink's Receive (inside the transform's receive lock).
class StreamingIntoABlockedSinkTest : public StreamingTest {
 protected:
  void SetUp() override {
    StreamingTest::SetUp();
    ASSERT_EQ(connect(source, convert), S_OK);
    ASSERT_EQ(connect(convert, sink), S_OK);
    sink->setBlocking(true);
    setState({sink, convert, source}, State_Running);
    ASSERT_TRUE(sink->waitUntilBlocked());
  }
  void TearDown() override {
    setState({sink, convert, source}, State_Stopped);
    dstest::disconnectAll({source, convert, sink});
    StreamingTest::TearDown();
  }
  // Lets the sink go and waits for `more` samples after those it has.
  bool unblockAndReceive(size_t more) {
    sink->setBlocking(false);
    return sink->waitForSamples(sink->samples().size() + more);
  }

  PushSource* source = new PushSource(videoType(MEDIASUBTYPE_YUY2), -1);
  ConvertTransform* convert = new ConvertTransform(MEDIASUBTYPE_YUY2, MEDIASUBTYPE_RGB24);
  SinkFilter* sink = new SinkFilter();
  ComPtr<IBaseFilter> held[3] = {ComPtr<IBaseFilter>(source), ComPtr<IBaseFilter>(convert), ComPtr<IBaseFilter>(sink)};
};

TEST_F(StreamingIntoABlockedSinkTest, StoppingDoesNotDeadlockAndItRunsAgain) {
  setState({sink, convert, source}, State_Stopped);
  EXPECT_GE(sink->samples().size(), 1u);
  setState({sink, convert, source}, State_Running);
  EXPECT_TRUE(unblockAndReceive(3));
}

TEST_F(StreamingIntoABlockedSinkTest, PausingFromRunningDoesNotWaitForTheReceiveLock) {
  setState({sink, convert, source}, State_Paused);
  EXPECT_TRUE(unblockAndReceive(2));
}

TEST_F(StreamingTest, FlushingReleasesABlockedReceiveAndDropsSamples) {
  auto* source = new PushSource(videoType(MEDIASUBTYPE_YUY2), -1);
  auto* sink = new SinkFilter();
  ComPtr<IBaseFilter> a(source), b(sink);
  ASSERT_EQ(connect(source, sink), S_OK);
  sink->setBlocking(true);
  setState({sink, source}, State_Running);
  ASSERT_TRUE(sink->waitUntilBlocked());
  IPin* in = firstPin(sink, PINDIR_INPUT);
  ASSERT_EQ(in->BeginFlush(), S_OK);
  EXPECT_EQ(sink->flushes(), 1);
  // The blocked sample returns; the next one is refused while flushing and the source
  // waits for its next command.
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return source->attempts() >= 2; }));
  ASSERT_EQ(in->EndFlush(), S_OK);
  EXPECT_EQ(sink->samples().size(), 1u);
  EXPECT_EQ(source->delivered(), 1);
  sink->setBlocking(false);
  setState({sink, source}, State_Stopped);
  dstest::disconnectAll({source, sink});
}

TEST_F(StreamingTest, SeekingPassesThroughToTheUpstreamPin) {
  auto* source = new PushSource(videoType(MEDIASUBTYPE_YUY2), 50);
  auto* sink = new SinkFilter();
  ComPtr<IBaseFilter> a(source), b(sink);
  IPin* in = firstPin(sink, PINDIR_INPUT);
  ComPtr<IUnknown> passThru;
  ASSERT_EQ(CreatePosPassThru(sink->GetOwner(), FALSE, in, passThru.put()), S_OK);
  ComPtr<IMediaSeeking> seeking;
  ASSERT_EQ(passThru->QueryInterface(IID_IMediaSeeking, seeking.putVoid()), S_OK);
  LONGLONG duration = 0;
  EXPECT_EQ(seeking->GetDuration(&duration), E_NOTIMPL);  // not connected yet
  ComPtr<IMediaPosition> position2;
  ASSERT_EQ(passThru->QueryInterface(IID_IMediaPosition, position2.putVoid()), S_OK);
  REFTIME seconds = 7.0;
  EXPECT_EQ(position2->get_Duration(&seconds), E_NOTIMPL);
  EXPECT_EQ(seconds, 0.0);  // a failed read leaves no stale value behind

  ASSERT_EQ(connect(source, sink), S_OK);
  ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 50 * 400000LL);
  LONGLONG position = 1200000;
  ASSERT_EQ(seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning), S_OK);
  EXPECT_EQ(source->seeks(), std::vector<LONGLONG>{1200000});

  ASSERT_EQ(position2->get_Duration(&seconds), S_OK);
  EXPECT_DOUBLE_EQ(seconds, 2.0);
  // Aggregated: its IUnknown is the sink's.
  ComPtr<IUnknown> identity;
  ASSERT_EQ(seeking->QueryInterface(IID_IUnknown, identity.putVoid()), S_OK);
  EXPECT_EQ(identity.get(), sink->GetOwner());
  seeking.reset();
  position2.reset();
  identity.reset();
  passThru.reset();
  dstest::disconnectAll({source, sink});
}
