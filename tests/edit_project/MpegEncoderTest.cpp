// The MPEG save's encoder settings: the preset table, and the calls the encoder wrapper
// makes on the encoder filter's private interfaces by their positions, as the filter
// records them.
#include "ProjectTest.h"

#include "edit_project/CMpegEncoder.h"

#include <com/ComPtr.h>
#include <com/oleauto.h>
#include <dshow/qedit.h>
#include <vendor/mpeg_recorder/QnMpegEncoder.h>

#include <utility>
#include <vector>

namespace {

using edtest::ProjectTest;
using plat::ComPtr;

TEST(EncoderPresetTest, TheTableByTypeAndKind) {
  const EncoderSettings mpeg1 = EncoderSettings::Preset(0, 3);
  EXPECT_EQ(mpeg1.formatCode, 1);
  EXPECT_EQ(mpeg1.bitRateKbit, 2000);
  EXPECT_EQ(mpeg1.frameRateCode, 3);
  EXPECT_EQ(mpeg1.streamParameter, 4096);
  EXPECT_EQ(mpeg1.width, 320);
  EXPECT_EQ(mpeg1.height, 240);
  const EncoderSettings mpeg2 = EncoderSettings::Preset(4, 3);
  EXPECT_EQ(mpeg2.formatCode, 2);
  EXPECT_EQ(mpeg2.width, 640);
  EXPECT_EQ(mpeg2.height, 480);
  EXPECT_EQ(EncoderSettings::Preset(0, 2).bitRateKbit, 1250);
  EXPECT_EQ(EncoderSettings::Preset(5, 4).bitRateKbit, 8000);
  EXPECT_EQ(EncoderSettings::Preset(0, 5).bitRateKbit, 0) << "a kind outside 2 to 4";
  EXPECT_EQ(EncoderSettings::Preset(1, 9).bitRateKbit, 1150) << "one rate for every kind";
  EXPECT_EQ(EncoderSettings::Preset(8, 3).bitRateKbit, 54000);
  EXPECT_EQ(EncoderSettings::Preset(6, 3).frameRateCode, 5);
  const EncoderSettings none = EncoderSettings::Preset(9, 3);
  EXPECT_EQ(none.formatCode, 0);
  EXPECT_EQ(none.width, 0);
  EXPECT_EQ(EncoderSettings::Preset(-1, 3).formatCode, 0);
}

class MpegEncoderTest : public ProjectTest {
 protected:
  // The output pin of a render engine's video group holding one clip.
  ComPtr<IPin> videoOutput() {
    const std::string file = writeClip("clip.mpg", 1);
    ComPtr<IAMTimeline> timeline;
    CoCreateInstance(CLSID_AMTimeline, nullptr, CLSCTX_INPROC_SERVER, IID_IAMTimeline, timeline.putVoid());
    ComPtr<IAMTimelineObj> group, track, source;
    timeline->CreateEmptyNode(group.put(), TIMELINE_MAJOR_TYPE_GROUP);
    timeline->CreateEmptyNode(track.put(), TIMELINE_MAJOR_TYPE_TRACK);
    timeline->CreateEmptyNode(source.put(), TIMELINE_MAJOR_TYPE_SOURCE);
    ComPtr<IAMTimelineGroup> asGroup;
    ComPtr<IAMTimelineComp> composition;
    ComPtr<IAMTimelineTrack> asTrack;
    ComPtr<IAMTimelineSrc> media;
    group->QueryInterface(IID_IAMTimelineGroup, asGroup.putVoid());
    group->QueryInterface(IID_IAMTimelineComp, composition.putVoid());
    track->QueryInterface(IID_IAMTimelineTrack, asTrack.putVoid());
    source->QueryInterface(IID_IAMTimelineSrc, media.putVoid());
    AM_MEDIA_TYPE type{};
    type.majortype = MEDIATYPE_Video;
    asGroup->SetMediaType(&type);
    timeline->AddGroup(group.get());
    composition->VTrackInsBefore(track.get(), -1);
    source->SetStartStop(0, edtest::kSecond);
    media->SetMediaTimes(0, edtest::kSecond);
    BSTR name = SysAllocString(L"C:\\clip.mpg");
    media->SetMediaName(name);
    SysFreeString(name);
    EXPECT_EQ(asTrack->SrcAdd(source.get()), S_OK);
    CoCreateInstance(CLSID_RenderEngine, nullptr, CLSCTX_INPROC_SERVER, IID_IRenderEngine, engine.putVoid());
    engine->SetTimelineObject(timeline.get());
    engine->ConnectFrontEnd();
    engine->GetFilterGraph(graph.put());
    ComPtr<IPin> pin;
    engine->GetGroupOutputPin(0, pin.put());
    return pin;
  }
  // (interface, position, arguments) of every call the encoder filter received.
  std::vector<std::pair<LONG, std::vector<LONG>>> calls(LONG itf) {
    ComPtr<IBaseFilter> filter;
    ComPtr<IQnMpegRecorderProbe> probe;
    EXPECT_EQ(graph->FindFilterByName(L"qnmpeg12 encoder", filter.put()), S_OK);
    if (!filter || FAILED(filter->QueryInterface(IID_IQnMpegRecorderProbe, probe.putVoid()))) return {};
    LONG count = 0;
    probe->GetCallCount(&count);
    std::vector<std::pair<LONG, std::vector<LONG>>> made;
    for (LONG i = 0; i < count; ++i) {
      QnMpegRecorderCall call{};
      probe->GetCall(i, &call);
      if (call.itf == itf) made.push_back({call.slot, std::vector<LONG>(call.args, call.args + call.argCount)});
    }
    return made;
  }

  ComPtr<IRenderEngine> engine;
  ComPtr<IGraphBuilder> graph;
};

TEST_F(MpegEncoderTest, SettingsReachTheEncoderAtTheirPositionsInOrder) {
  ComPtr<IPin> video = videoOutput();
  ASSERT_TRUE(video);
  {
    CMpegEncoder encoder;
    EXPECT_FALSE(encoder.SetOutputFile(nullptr));
    ASSERT_TRUE(encoder.SetOutputFile("C:\\out.mpg"));
    ASSERT_TRUE(encoder.ApplyPreset(4, 3));
    ASSERT_TRUE(encoder.ApplySettings());
    EXPECT_FALSE(encoder.ConnectToGraph(graph.get(), nullptr, nullptr)) << "no pin to connect";
    ASSERT_TRUE(encoder.ConnectToGraph(graph.get(), video.get(), nullptr));
  }
  // The filter counts positions from 1, the wrapper from 0 (IUnknown's three first).
  using Calls = std::vector<std::pair<LONG, std::vector<LONG>>>;
  EXPECT_EQ(calls(QnMpegRecorderCall::VideoSettings),
            (Calls{{4, {2}}, {6, {2000000}}, {9, {3}}, {13, {0}}, {55, {640, 480}}, {11, {4096}}, {14, {0}}, {20, {1}}}));
  EXPECT_EQ(calls(QnMpegRecorderCall::Multiplex), (Calls{{4, {1}}, {14, {0}}, {12, {0}}}));
  engine->ScrapIt();
}

TEST_F(MpegEncoderTest, VcdAndDvdFormatsKeepTheirOwnPictureSize) {
  ComPtr<IPin> video = videoOutput();
  CMpegEncoder encoder;
  ASSERT_TRUE(encoder.SetOutputFile("C:\\out.mpg"));
  ASSERT_TRUE(encoder.ApplyPreset(5, 3));
  ASSERT_TRUE(encoder.ApplySettings());
  ASSERT_TRUE(encoder.ConnectToGraph(graph.get(), video.get(), nullptr));
  const auto made = calls(QnMpegRecorderCall::VideoSettings);
  ASSERT_GE(made.size(), 5u);
  EXPECT_EQ(made[4], (std::pair<LONG, std::vector<LONG>>{55, {0, 0}}));
  engine->ScrapIt();
}

}  // namespace
