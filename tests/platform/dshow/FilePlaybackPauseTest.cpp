// An MPEG program stream with pictures and sound driven the way a player drives it, all
// under the manual clock: paused from stopped and while running, resumed, seeked while
// paused and while running, and played to its end. Every pause must settle (each
// renderer holding a first sample) within the caller's state time-out.
#include "GraphTest.h"

#include <support/Settling.h>
#include "MediaFileWriter.h"

#include <machine/AudioPlayback.h>

using dstest::MediaFileWriter;
using plat::ComPtr;

namespace {

constexpr LONG kStateTimeoutMs = 100;
constexpr LONGLONG kUnitsPerSecond = 10'000'000;

class FilePlaybackPauseTest : public dstest::GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ASSERT_TRUE(MediaFileWriter::write(machine().paths().driveFolder('C') / "clip.mpg", MediaFileWriter::Kind::MpegProgram,
                                       6.0));
    ASSERT_EQ(graph->RenderFile(L"C:\\clip.mpg", nullptr), S_OK);
    control = graphAs<IMediaControl>(IID_IMediaControl);
    seeking = graphAs<IMediaSeeking>(IID_IMediaSeeking);
  }
  void TearDown() override {
    if (control) control->Stop();
    seeking.reset();
    control.reset();
    GraphTest::TearDown();
  }

  // Pause, then the state asked with a short time-out, as a player asks it.
  HRESULT pauseAndAsk() {
    const HRESULT hr = control->Pause();
    if (FAILED(hr)) return hr;
    return settled();
  }
  HRESULT settled() {
    OAFilterState state = State_Stopped;
    const HRESULT hr = control->GetState(kStateTimeoutMs, &state);
    return state == State_Paused ? hr : E_FAIL;
  }
  void seekTo(LONGLONG seconds) {
    LONGLONG at = seconds * kUnitsPerSecond;
    ASSERT_EQ(seeking->SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning), S_OK);
  }
  LONGLONG position() {
    LONGLONG now = -1;
    EXPECT_EQ(seeking->GetCurrentPosition(&now), S_OK);
    return now;
  }
  std::uint64_t soundFrames() { return machine().service<plat::AudioPlayback>().levels().frames; }

  ComPtr<IMediaControl> control;
  ComPtr<IMediaSeeking> seeking;
};

TEST_F(FilePlaybackPauseTest, PausedFromStoppedBothRenderersHoldTheirFirstSample) {
  EXPECT_EQ(pauseAndAsk(), S_OK);
  const auto heard = soundFrames();
  EXPECT_GT(heard, 0u) << "the sound's first buffer is cued";
  machine().clock().advance(3000);
  EXPECT_EQ(settled(), S_OK);
  EXPECT_EQ(soundFrames(), heard) << "nothing more plays while paused";
  EXPECT_EQ(position(), 0);
}

TEST_F(FilePlaybackPauseTest, PausedWhilePlayingThePositionHoldsAndResumesFromThere) {
  ASSERT_EQ(control->Run(), S_OK);
  for (int ms = 0; ms < 2000; ms += 100) machine().clock().advance(100);
  ASSERT_EQ(pauseAndAsk(), S_OK);
  const LONGLONG paused = position();
  EXPECT_NEAR(static_cast<double>(paused), 2.0 * kUnitsPerSecond, 0.05 * kUnitsPerSecond);
  machine().clock().advance(3000);
  EXPECT_EQ(position(), paused);
  ASSERT_EQ(control->Run(), S_OK);
  machine().clock().advance(500);
  EXPECT_NEAR(static_cast<double>(position()), static_cast<double>(paused) + 0.5 * kUnitsPerSecond,
              0.05 * kUnitsPerSecond);
}

TEST_F(FilePlaybackPauseTest, SeeksWhilePausedCueAgainAtTheNewPosition) {
  ASSERT_EQ(pauseAndAsk(), S_OK);
  for (LONGLONG at : {4, 1, 5, 0, 3}) {
    SCOPED_TRACE(at);
    // Counted before the seek: the sound can be cued again before seekTo returns.
    const auto heard = soundFrames();
    seekTo(at);
    EXPECT_EQ(settled(), S_OK);
    EXPECT_TRUE(test::holdsWhenSettled(machine().clock(),
        [&] { return soundFrames() > heard; })) << "the sound at the new position is cued";
    EXPECT_EQ(position(), at * kUnitsPerSecond);
  }
}

TEST_F(FilePlaybackPauseTest, PausedResumedAndSeekedItPlaysToTheEnd) {
  ASSERT_EQ(control->Run(), S_OK);
  machine().clock().advance(1000);
  ASSERT_EQ(pauseAndAsk(), S_OK);
  ASSERT_EQ(control->Run(), S_OK);
  seekTo(3);
  machine().clock().advance(500);
  ASSERT_EQ(pauseAndAsk(), S_OK);
  seekTo(4);
  ASSERT_EQ(settled(), S_OK);
  ASSERT_EQ(control->Run(), S_OK);
  EXPECT_FALSE(completed());
  for (int ms = 0; ms < 1500; ms += 100) machine().clock().advance(100);
  EXPECT_FALSE(completed()) << "a second of the file is left";
  EXPECT_TRUE(test::advanceUntil(machine().clock(), [&] { return completed(); }, 100));
  LONGLONG duration = 0;
  ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
  EXPECT_EQ(position(), duration);
}

}  // namespace
