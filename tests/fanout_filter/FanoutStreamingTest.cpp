// A running graph through the tee: every branch gets every sample, in order, as the very
// objects upstream delivered; a blocked branch holds up nobody else; flushes, ends of
// stream and new segments reach every branch; a failing branch stops the delivery of
// that sample to the branches after it.
#include "FanoutTest.h"

#include <win32/system/DebugOutput.h>

#include <algorithm>
#include <future>

namespace fanout {
namespace {

class FanoutStreamingTest : public FanoutTest {
 protected:
  static std::vector<int> firstFrames(int count) {
    std::vector<int> frames(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) frames[static_cast<size_t>(i)] = i;
    return frames;
  }
  static bool debugLineWritten() {
    const std::vector<std::string> lines = plat::DebugOutput::current().lines();
    return std::find(lines.begin(), lines.end(), "FanoutOutPutPin:output pin deliver sample ERROR!!!!") != lines.end();
  }
};

TEST_F(FanoutStreamingTest, EveryBranchReceivesEverySampleInOrderAsTheVerySameObjects) {
  constexpr int kFrames = 30;
  auto* source = new TestSource({videoType(kSubtypeA)}, kFrames, 4);
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer(), new TestRenderer()};
  buildTee(source, renderers);
  ASSERT_EQ(control()->Run(), S_OK);
  for (TestRenderer* renderer : renderers) ASSERT_TRUE(renderer->waitForEndOfStream());
  control()->Stop();

  const std::vector<IMediaSample*> delivered = source->delivered();
  ASSERT_EQ(delivered.size(), static_cast<size_t>(kFrames));
  const std::vector<TestRenderer::Received> first = renderers[0]->samples();
  for (TestRenderer* renderer : renderers) {
    EXPECT_EQ(renderer->frames(), firstFrames(kFrames));
    EXPECT_EQ(renderer->endOfStreams(), 1);
    const std::vector<TestRenderer::Received> received = renderer->samples();
    ASSERT_EQ(received.size(), delivered.size());
    for (size_t i = 0; i < received.size(); ++i) {
      EXPECT_EQ(received[i].sample, delivered[i]) << i;
      EXPECT_EQ(received[i].data, first[i].data) << i;
    }
  }
  EXPECT_FALSE(debugLineWritten());
}

TEST_F(FanoutStreamingTest, ABlockedBranchDoesNotStallTheOthers) {
  // Every sample stays with the blocked branch's queue until it moves again, so the
  // upstream allocator has a buffer for each.
  constexpr int kFrames = 20;
  auto* source = new TestSource({videoType(kSubtypeA)}, kFrames, kFrames + 1);
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer(), new TestRenderer()};
  renderers[1]->setBlocking(true);
  buildTee(source, renderers);
  ASSERT_EQ(control()->Run(), S_OK);

  ASSERT_TRUE(renderers[0]->waitForEndOfStream());
  ASSERT_TRUE(renderers[2]->waitForEndOfStream());
  EXPECT_EQ(renderers[0]->frames(), firstFrames(kFrames));
  EXPECT_EQ(renderers[2]->frames(), firstFrames(kFrames));
  ASSERT_TRUE(renderers[1]->waitUntilBlocked());
  EXPECT_TRUE(renderers[1]->frames().empty());
  EXPECT_EQ(renderers[1]->endOfStreams(), 0);

  renderers[1]->setBlocking(false);
  ASSERT_TRUE(renderers[1]->waitForEndOfStream());
  EXPECT_EQ(renderers[1]->frames(), firstFrames(kFrames));
  control()->Stop();
}

TEST_F(FanoutStreamingTest, FlushesEndsOfStreamAndNewSegmentsReachEveryBranch) {
  auto* source = new TestSource({videoType(kSubtypeA)}, 5);
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer(), new TestRenderer()};
  IBaseFilter* tee = buildTee(source, renderers);
  ASSERT_EQ(control()->Run(), S_OK);
  for (TestRenderer* renderer : renderers) {
    ASSERT_TRUE(renderer->waitForEndOfStream());
    EXPECT_EQ(renderer->frames(), firstFrames(5));  // the end comes after the last sample
  }

  // As upstream would on a seek.
  ComPtr<IPin> input = pin(tee, L"Input");
  EXPECT_EQ(input->BeginFlush(), S_OK);
  EXPECT_EQ(input->EndFlush(), S_OK);
  EXPECT_EQ(input->NewSegment(1000, 2000, 0.5), S_OK);
  for (TestRenderer* renderer : renderers) {
    EXPECT_EQ(renderer->beginFlushes(), 1);
    EXPECT_EQ(renderer->endFlushes(), 1);
    ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return !renderer->segments().empty(); }));
    const TestRenderer::Segment segment = renderer->segments().front();
    EXPECT_EQ(segment.start, 1000);
    EXPECT_EQ(segment.stop, 2000);
    EXPECT_EQ(segment.rate, 0.5);
  }
  control()->Stop();
}

TEST_F(FanoutStreamingTest, RunningWithoutAnInputEndsEveryBranchsStream) {
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer()};
  IBaseFilter* tee = buildTee(new TestSource({videoType(kSubtypeA)}, 3), renderers);
  disconnect(pin(tee, L"Input").get());
  ASSERT_EQ(control()->Run(), S_OK);
  for (TestRenderer* renderer : renderers) {
    ASSERT_TRUE(renderer->waitForEndOfStream());
    EXPECT_TRUE(renderer->frames().empty());
  }
  control()->Stop();
}

TEST_F(FanoutStreamingTest, ATypeChangeInTheStreamPassesToEveryBranch) {
  const CMediaType small = videoType(kSubtypeA, 4, 2);
  const CMediaType large = videoType(kSubtypeA, 8, 2);
  auto* source = new TestSource({small}, 4);
  source->changeTypeAt(2, large);
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer()};
  IBaseFilter* tee = buildTee(source, renderers);
  ASSERT_EQ(control()->Run(), S_OK);
  for (TestRenderer* renderer : renderers) ASSERT_TRUE(renderer->waitForEndOfStream());
  for (TestRenderer* renderer : renderers) {
    EXPECT_EQ(renderer->frames(), firstFrames(4));
    EXPECT_EQ(connectionType(renderer->input()), large);
  }
  EXPECT_EQ(connectionType(pin(tee, L"Input").get()), large);
  EXPECT_EQ(control()->Stop(), S_OK);
}

TEST_F(FanoutStreamingTest, ATypeChangeABranchRefusesEndsEveryBranchsStream) {
  auto* source = new TestSource({videoType(kSubtypeA)}, 4);
  source->changeTypeAt(2, videoType(kSubtypeB));
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer({kSubtypeA})};
  buildTee(source, renderers);
  ASSERT_EQ(control()->Run(), S_OK);
  for (TestRenderer* renderer : renderers) {
    ASSERT_TRUE(renderer->waitForEndOfStream());
    EXPECT_EQ(renderer->frames(), firstFrames(2));
  }
  EXPECT_EQ(control()->Stop(), S_OK);
}

TEST_F(FanoutStreamingTest, AFailingBranchStopsTheSampleAndTellsUpstream) {
  // Delivered on the streaming thread, so the failure comes back with the sample.
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer(), new TestRenderer()};
  for (TestRenderer* renderer : renderers) renderer->setCanBlock(false);
  renderers[1]->failFrom(1, E_FAIL);
  auto* source = new TestSource({videoType(kSubtypeA)}, 10);
  buildTee(source, renderers);
  ASSERT_EQ(control()->Run(), S_OK);
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [] { return debugLineWritten(); }));
  control()->Stop();

  EXPECT_EQ(renderers[0]->frames(), (std::vector<int>{0, 1}));
  EXPECT_EQ(renderers[1]->frames(), (std::vector<int>{0}));
  EXPECT_EQ(renderers[2]->frames(), (std::vector<int>{0}));  // frame 1 never reached it
  EXPECT_EQ(source->delivered().size(), 2u);                  // upstream stopped at the error
  // The references taken for the branches the sample never reached went back too.
  EXPECT_EQ(static_cast<CBaseAllocator*>(source->allocator())->OutstandingCount(), 0);
}

TEST_F(FanoutStreamingTest, ABranchBlockedOnTheStreamingThreadLetsStateChangesAndFlushesIn) {
  // A branch that says it cannot block, and does: the tee delivers to it directly, so
  // the streaming thread waits inside the tee's Receive until the flush arrives.
  auto* blocking = new TestRenderer();
  blocking->setCanBlock(false);
  blocking->setBlocking(true);
  auto* other = new TestRenderer();
  IBaseFilter* tee = buildTee(new TestSource({videoType(kSubtypeA)}, 5), {blocking, other});
  // Should a call hang, the branch is let go so the test ends with a failure, not a hang.
  auto finished = [&](std::future<HRESULT>& call) {
    if (call.wait_for(std::chrono::seconds(10)) == std::future_status::ready) return true;
    blocking->setBlocking(false);
    return false;
  };
  // The graph walks the tee's pins after the source has started on the way to running.
  auto run = std::async(std::launch::async, [&] { return control()->Run(); });
  ASSERT_TRUE(finished(run));
  EXPECT_EQ(run.get(), S_OK);
  ASSERT_TRUE(blocking->waitUntilBlocked());

  auto pause = std::async(std::launch::async, [&] { return tee->Pause(); });
  ASSERT_TRUE(finished(pause));
  EXPECT_EQ(pause.get(), S_OK);

  ComPtr<IPin> input = pin(tee, L"Input");
  auto flush = std::async(std::launch::async, [&] { return input->BeginFlush(); });
  ASSERT_TRUE(finished(flush));
  EXPECT_EQ(flush.get(), S_OK);
  EXPECT_EQ(blocking->beginFlushes(), 1);
  EXPECT_EQ(input->EndFlush(), S_OK);
  EXPECT_EQ(control()->Stop(), S_OK);
  EXPECT_TRUE(blocking->frames().empty());
}

}  // namespace
}  // namespace fanout
