// Seeking through the tee (one output at a time carries it, passed through to upstream)
// and quality messages (one branch speaks for all).
#include "FanoutTest.h"

namespace fanout {
namespace {

class FanoutSeekingQualityTest : public FanoutTest {};

TEST_F(FanoutSeekingQualityTest, OneOutputAtATimeSeeksThroughToUpstream) {
  auto* source = new TestSource({videoType(kSubtypeA)}, 0);
  auto* renderer = new TestRenderer();
  IBaseFilter* tee = buildTee(source, {renderer});
  ComPtr<IPin> first = pin(tee, L"Output1");
  ComPtr<IPin> spare = pin(tee, L"Output2");

  ComPtr<IMediaSeeking> seeking;
  ASSERT_EQ(spare->QueryInterface(IID_IMediaSeeking, seeking.putVoid()), S_OK);
  ComPtr<IMediaPosition> position;
  EXPECT_EQ(spare->QueryInterface(IID_IMediaPosition, position.putVoid()), S_OK);
  ComPtr<IMediaSeeking> refused;
  EXPECT_EQ(first->QueryInterface(IID_IMediaSeeking, refused.putVoid()), E_NOINTERFACE);
  EXPECT_EQ(refused.get(), nullptr);
  EXPECT_EQ(first->QueryInterface(IID_IMediaPosition, position.putVoid()), E_NOINTERFACE);

  LONGLONG duration = 0;
  ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 10 * 10'000'000LL);
  LONGLONG target = 3 * 10'000'000LL;
  ASSERT_EQ(seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning), S_OK);
  EXPECT_EQ(source->seeks(), std::vector<LONGLONG>{target});
  // The interface belongs to the pin: it hands out the pin's identity.
  ComPtr<IPin> back;
  ASSERT_EQ(seeking->QueryInterface(IID_IPin, back.putVoid()), S_OK);
  EXPECT_EQ(back.get(), spare.get());
  back.reset();

  // The holder goes away (two pins free, nobody holds it): the role is free again.
  disconnect(first.get());
  seeking.reset();
  spare.reset();
  ASSERT_EQ(pinNames(tee), (std::vector<std::wstring>{L"Input", L"Output1"}));
  EXPECT_EQ(first->QueryInterface(IID_IMediaSeeking, seeking.putVoid()), S_OK);
}

TEST_F(FanoutSeekingQualityTest, QualityMessagesGoUpstreamFromTheFirstOutputOnly) {
  ComPtr<IBaseFilter> lonely = createFanout();
  ComPtr<IQualityControl> unconnected;
  ASSERT_EQ(pin(lonely.get(), L"Output1")->QueryInterface(IID_IQualityControl, unconnected.putVoid()), S_OK);
  const Quality flood = {Flood, 800, 20000, 400000};
  EXPECT_EQ(unconnected->Notify(nullptr, flood), VFW_E_NOT_FOUND);

  auto* source = new TestSource({videoType(kSubtypeA)}, 0);
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer()};
  IBaseFilter* tee = buildTee(source, renderers);
  ComPtr<IQualityControl> first, second;
  ASSERT_EQ(pin(tee, L"Output1")->QueryInterface(IID_IQualityControl, first.putVoid()), S_OK);
  ASSERT_EQ(pin(tee, L"Output2")->QueryInterface(IID_IQualityControl, second.putVoid()), S_OK);

  EXPECT_EQ(second->Notify(nullptr, flood), S_OK);
  EXPECT_TRUE(source->qualityNotes().empty());
  EXPECT_EQ(first->Notify(nullptr, flood), S_OK);
  ASSERT_EQ(source->qualityNotes().size(), 1u);
  EXPECT_EQ(source->qualityNotes()[0].sender, tee);
  EXPECT_EQ(source->qualityNotes()[0].quality.Proportion, 800);
  EXPECT_EQ(source->qualityNotes()[0].quality.Late, 20000);

  // A sink set on the first output hears instead of upstream.
  auto* sink = new TestSource({videoType(kSubtypeA)}, 0);
  ComPtr<IBaseFilter> sinkHeld(sink);
  ComPtr<IQualityControl> sinkControl;
  ASSERT_EQ(sink->output()->QueryInterface(IID_IQualityControl, sinkControl.putVoid()), S_OK);
  ASSERT_EQ(first->SetSink(sinkControl.get()), S_OK);
  EXPECT_EQ(first->Notify(nullptr, flood), S_OK);
  EXPECT_EQ(source->qualityNotes().size(), 1u);
  EXPECT_EQ(sink->qualityNotes().size(), 1u);
  first->SetSink(nullptr);
}

}  // namespace
}  // namespace fanout
