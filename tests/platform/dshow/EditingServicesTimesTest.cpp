// Editing Services over long times: a group output shows the picture of its time in
// clips of hours, stretched or not, plays sound placed a year into the timeline, and
// streams up to a timeline end at the last 100-ns unit of 64 bits, every product of
// times, lengths and rates exact on the way.
#include "TimelineTest.h"

#include <limits>

namespace {

using dstest::kSecond;
using dstest::MediaFileWriter;
using dstest::ReceivedSample;
using dstest::SinkFilter;
using plat::ComPtr;

constexpr REFERENCE_TIME kHour = 3600 * kSecond;
constexpr REFERENCE_TIME kYear = 365 * 24 * kHour;
constexpr REFERENCE_TIME kEnd = std::numeric_limits<REFERENCE_TIME>::max();
constexpr int kRedY = 81;
constexpr int kBlueY = 41;

class EditingServicesTimesTest : public dstest::TimelineTest {
 protected:
  // Two hours of slides, one picture each ten seconds: red for the first hour, blue after.
  void writeTwoHours() {
    std::vector<MediaFileWriter::Colour> pictures(720, MediaFileWriter::kRed);
    std::fill(pictures.begin() + 360, pictures.end(), MediaFileWriter::Colour{kBlueY, 240, 110});
    ASSERT_TRUE(MediaFileWriter::writeSlides(machine().paths().driveFolder('C') / "two-hours.avi", 10, pictures));
  }
  // What group `group` sends from `from` to `to` (the timeline's end when 0), straight
  // into a sink, with the graph paused until the stream ends.
  std::vector<ReceivedSample> sent(long group, REFERENCE_TIME from, REFERENCE_TIME to = 0) {
    ComPtr<IRenderEngine> engine;
    EXPECT_EQ(CoCreateInstance(CLSID_RenderEngine, nullptr, CLSCTX_INPROC_SERVER, IID_IRenderEngine, engine.putVoid()),
              S_OK);
    ComPtr<IGraphBuilder> built;
    ComPtr<IPin> output;
    EXPECT_EQ(engine->SetTimelineObject(timeline.get()), S_OK);
    EXPECT_EQ(engine->ConnectFrontEnd(), S_WARN_OUTPUTRESET);
    EXPECT_EQ(engine->GetFilterGraph(built.put()), S_OK);
    EXPECT_EQ(engine->GetGroupOutputPin(group, output.put()), S_OK);
    auto* sink = new SinkFilter;
    ComPtr<IBaseFilter> held(sink);
    EXPECT_EQ(built->AddFilter(sink, L"Sink"), S_OK);
    EXPECT_EQ(built->ConnectDirect(output.get(), sink->input(), nullptr), S_OK);
    ComPtr<IMediaSeeking> seeking;
    output->QueryInterface(IID_IMediaSeeking, seeking.putVoid());
    LONGLONG start = from;
    LONGLONG stop = to;
    EXPECT_EQ(seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, &stop,
                                    to ? AM_SEEKING_AbsolutePositioning : AM_SEEKING_NoPositioning),
              S_OK);
    ComPtr<IMediaControl> control;
    built->QueryInterface(IID_IMediaControl, control.putVoid());
    EXPECT_EQ(control->Pause(), S_OK);
    EXPECT_TRUE(sink->waitForEndOfStream()) << "the stream reaches its end";
    control->Stop();
    engine->ScrapIt();
    return sink->samples();
  }
  ComPtr<IAMTimelineTrack> videoTrack() {
    ComPtr<IAMTimelineTrack> track;
    group(MEDIATYPE_Video, track);
    return track;
  }
};

TEST_F(EditingServicesTimesTest, AClipOfHoursShowsThePictureOfItsTimeHoweverFarIn) {
  writeTwoHours();
  ASSERT_EQ(addClip(videoTrack().get(), 0, 0, 2 * kHour, L"C:\\two-hours.avi"), S_OK);
  auto pictures = sent(0, 90 * 60 * kSecond, 90 * 60 * kSecond + 15 * kSecond);
  ASSERT_EQ(pictures.size(), 2u) << "one picture each ten seconds";
  EXPECT_EQ(pictures[0].frame, kBlueY) << "an hour and a half in";
  EXPECT_EQ(pictures[0].start, 0);
  EXPECT_EQ(pictures[1].start, 10 * kSecond);
  pictures = sent(0, kHour - 10 * kSecond, kHour + 10 * kSecond);
  ASSERT_EQ(pictures.size(), 2u);
  EXPECT_EQ(pictures[0].frame, kRedY) << "the last picture of the first hour";
  EXPECT_EQ(pictures[1].frame, kBlueY) << "the first of the second";
}

TEST_F(EditingServicesTimesTest, AClipOfHoursFromHalfWayInPreviewsFromHalfWayThroughIt) {
  writeTwoHours();
  // 440 s of the file from 3400 s, at 100 s on the timeline: 220 s into the clip is 3620 s.
  ASSERT_EQ(addClip(videoTrack().get(), 100 * kSecond, 3400 * kSecond, 3840 * kSecond, L"C:\\two-hours.avi"), S_OK);
  auto pictures = sent(0, 320 * kSecond, 330 * kSecond);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].frame, kBlueY);
  pictures = sent(0, 290 * kSecond, 300 * kSecond);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].frame, kRedY) << "190 s into the clip is 3590 s";
}

TEST_F(EditingServicesTimesTest, AClipOfTwoHoursSqueezedIntoOneKeepsItsOrder) {
  writeTwoHours();
  ComPtr<IAMTimelineObj> squeezed = source(0, 0, 2 * kHour, L"C:\\two-hours.avi");
  ASSERT_EQ(squeezed->SetStartStop(0, kHour), S_OK);
  ASSERT_EQ(videoTrack()->SrcAdd(squeezed.get()), S_OK);
  auto pictures = sent(0, 45 * 60 * kSecond, 45 * 60 * kSecond + 10 * kSecond);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].frame, kBlueY) << "45 minutes in shows the file at 90";
  pictures = sent(0, 29 * 60 * kSecond, 29 * 60 * kSecond + 10 * kSecond);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].frame, kRedY) << "29 minutes in shows the file at 58";
}

TEST_F(EditingServicesTimesTest, SoundAYearIntoTheTimelinePlaysAtItsTime) {
  // A tone whose first frame, 25 frames into the file, is a quarter wave in: its peak.
  ASSERT_TRUE(MediaFileWriter::write(machine().paths().driveFolder('C') / "tone.wav", MediaFileWriter::Kind::Wave, 2.0));
  ComPtr<IAMTimelineTrack> track;
  group(MEDIATYPE_Audio, track);
  const REFERENCE_TIME fromPeak = 25 * kSecond / 44100 + 1;
  ASSERT_EQ(addClip(track.get(), kYear, fromPeak, fromPeak + kSecond, L"C:\\tone.wav"), S_OK);
  const auto sound = sent(0, kYear - kSecond / 2);
  // Half a second of silence, then the clip's second, in twentieths of a second.
  ASSERT_EQ(sound.size(), 30u);
  EXPECT_EQ(sound[9].frame, 0);
  EXPECT_EQ(sound[10].start, kSecond / 2);
  EXPECT_EQ(sound[10].frame, 0xFF) << "the low byte of the peak, 0x3FFF";
  EXPECT_EQ(sound.back().stop, 3 * kSecond / 2);
  long bytes = 0;
  for (const ReceivedSample& sample : sound) bytes += sample.length;
  EXPECT_EQ(bytes, 44100 * 4 * 3 / 2);
}

TEST_F(EditingServicesTimesTest, ATimelineEndingAtTheLastUnitOfSixtyFourBitsStreamsToIt) {
  ASSERT_EQ(addClip(videoTrack().get(), kEnd - kSecond, 0, kSecond), S_OK);
  ComPtr<IAMTimelineTrack> sound;
  group(MEDIATYPE_Audio, sound);
  ASSERT_EQ(addClip(sound.get(), kEnd - kSecond, 0, kSecond), S_OK);
  const auto pictures = sent(0, kEnd - kSecond / 2);
  ASSERT_GE(pictures.size(), 12u);
  ASSERT_LE(pictures.size(), 13u) << "a picture each 40 ms";
  for (const ReceivedSample& picture : pictures) EXPECT_NEAR(picture.frame, kRedY, 3);
  EXPECT_LT(pictures.back().start, kSecond / 2);
  const auto tone = sent(1, kEnd - kSecond / 2);
  ASSERT_EQ(tone.size(), 10u);
  EXPECT_NEAR(static_cast<double>(tone.back().stop), kSecond / 2, kSecond / 44100 + 1) << "to the sound frame";
}

}  // namespace
