#include "GraphTest.h"

using dstest::firstPin;
using dstest::PushSource;
using dstest::SinkFilter;
using dstest::videoType;
using plat::ComPtr;

namespace {

class GraphSeekingTest : public dstest::GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    seeking = graphAs<IMediaSeeking>(IID_IMediaSeeking);
    control = graphAs<IMediaControl>(IID_IMediaControl);
  }
  void TearDown() override {
    if (control) control->Stop();
    seeking.reset();
    control.reset();
    GraphTest::TearDown();
  }
  // A 50-frame (two-second) source feeding a renderer that passes seeks upstream.
  PushSource* playable() {
    auto* source = add(new PushSource(videoType(MEDIASUBTYPE_YUY2), 50), L"Source");
    auto* sink = add(new SinkFilter(), L"Sink");
    EXPECT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), firstPin(sink, PINDIR_INPUT), nullptr), S_OK);
    return source;
  }

  ComPtr<IMediaSeeking> seeking;
  ComPtr<IMediaControl> control;
};

}  // namespace

TEST_F(GraphSeekingTest, AGraphWithoutSeekableStreamsOnlyTellsThePosition) {
  DWORD caps = 0;
  ASSERT_EQ(seeking->GetCapabilities(&caps), S_OK);
  EXPECT_EQ(caps, static_cast<DWORD>(AM_SEEKING_CanGetCurrentPos));
  LONGLONG value = 0;
  EXPECT_EQ(seeking->GetDuration(&value), E_NOTIMPL);
  EXPECT_EQ(seeking->SetPositions(&value, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
            E_NOTIMPL);
  ASSERT_EQ(seeking->GetCurrentPosition(&value), S_OK);
  EXPECT_EQ(value, 0);
  REFTIME seconds = 7.0;
  EXPECT_EQ(graphAs<IMediaPosition>(IID_IMediaPosition)->get_Duration(&seconds), E_NOTIMPL);
  EXPECT_EQ(seconds, 0.0);
}

TEST_F(GraphSeekingTest, CapabilitiesAndTimeFormatsAreThoseOfTheStreams) {
  playable();
  DWORD caps = 0;
  ASSERT_EQ(seeking->GetCapabilities(&caps), S_OK);
  EXPECT_EQ(caps, static_cast<DWORD>(AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanGetDuration |
                                     AM_SEEKING_CanGetCurrentPos));
  DWORD asked = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekBackwards;
  EXPECT_EQ(seeking->CheckCapabilities(&asked), S_FALSE);
  EXPECT_EQ(asked, static_cast<DWORD>(AM_SEEKING_CanSeekAbsolute));
  asked = AM_SEEKING_CanPlayBackwards;
  EXPECT_EQ(seeking->CheckCapabilities(&asked), E_FAIL);
  ComPtr<IMediaPosition> position = graphAs<IMediaPosition>(IID_IMediaPosition);
  LONG can = OATRUE;
  ASSERT_EQ(position->CanSeekBackward(&can), S_OK);
  EXPECT_EQ(can, OAFALSE);

  EXPECT_EQ(seeking->IsFormatSupported(&TIME_FORMAT_FRAME), S_FALSE);
  EXPECT_EQ(seeking->SetTimeFormat(&TIME_FORMAT_FRAME), E_INVALIDARG);
  GUID format = GUID_NULL;
  ASSERT_EQ(seeking->GetTimeFormat(&format), S_OK);
  EXPECT_EQ(format, TIME_FORMAT_MEDIA_TIME);
  ASSERT_EQ(control->Pause(), S_OK);
  EXPECT_EQ(seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME), VFW_E_WRONG_STATE);
}

TEST_F(GraphSeekingTest, TheStopPositionCapsThePosition) {
  playable();
  ComPtr<IMediaPosition> seconds = graphAs<IMediaPosition>(IID_IMediaPosition);
  REFTIME length = 0;
  ASSERT_EQ(seconds->get_Duration(&length), S_OK);
  EXPECT_DOUBLE_EQ(length, 2.0);
  REFTIME stop = 0;
  ASSERT_EQ(seconds->get_StopTime(&stop), S_OK);
  EXPECT_DOUBLE_EQ(stop, 2.0);

  LONGLONG start = 2'000'000, end = 12'000'000;
  ASSERT_EQ(seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame, &end,
                                  AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame),
            S_OK);
  LONGLONG current = 0, last = 0;
  ASSERT_EQ(seeking->GetPositions(&current, &last), S_OK);
  EXPECT_EQ(current, 2'000'000);
  EXPECT_EQ(last, 12'000'000);
  ASSERT_EQ(control->Run(), S_OK);
  machine().clock().advance(600);
  seeking->GetCurrentPosition(&current);
  EXPECT_EQ(current, 8'000'000);
  machine().clock().advance(5000);
  seeking->GetCurrentPosition(&current);
  EXPECT_EQ(current, 12'000'000);
  // The stop moves on its own, relative to where it was.
  LONGLONG later = 3'000'000;
  ASSERT_EQ(seeking->SetPositions(nullptr, AM_SEEKING_NoPositioning, &later,
                                  AM_SEEKING_RelativePositioning | AM_SEEKING_ReturnTime),
            S_OK);
  EXPECT_EQ(later, 15'000'000);
  seeking->GetCurrentPosition(&current);
  EXPECT_EQ(current, 15'000'000);
}

TEST_F(GraphSeekingTest, ARateTheStreamsRefuseIsNotTaken) {
  playable();
  EXPECT_EQ(seeking->SetRate(0.0), E_INVALIDARG);
  EXPECT_EQ(seeking->SetRate(2.0), E_INVALIDARG);  // the source plays at its own speed only
  double rate = 0;
  ASSERT_EQ(seeking->GetRate(&rate), S_OK);
  EXPECT_EQ(rate, 1.0);
  ASSERT_EQ(seeking->SetRate(1.0), S_OK);
  ASSERT_EQ(control->Run(), S_OK);
  machine().clock().advance(1000);
  LONGLONG current = 0;
  seeking->GetCurrentPosition(&current);
  EXPECT_EQ(current, 10'000'000);
}
