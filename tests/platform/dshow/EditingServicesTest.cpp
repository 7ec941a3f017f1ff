// Editing Services: the timeline keeps groups in the order they were added and a track's
// clips in timeline order, refuses clips whose times are reversed or beyond their file,
// and the render engine builds one group source per group whose output follows the first
// clip's format, reconnects without a reset while the groups stay, and resets when they
// change.
#include "GraphTest.h"
#include "MediaFileWriter.h"

#include <com/oleauto.h>
#include <dshow/qedit.h>

namespace {

using dstest::MediaFileWriter;
using plat::ComPtr;

constexpr REFERENCE_TIME kSecond = 10000000;

class EditingServicesTest : public dstest::GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ASSERT_TRUE(MediaFileWriter::write(machine().paths().driveFolder('C') / "clip.mpg", MediaFileWriter::Kind::MpegProgram,
                                       2.0, 176, 144));
    ASSERT_EQ(CoCreateInstance(CLSID_AMTimeline, nullptr, CLSCTX_INPROC_SERVER, IID_IAMTimeline, timeline.putVoid()), S_OK);
  }
  ComPtr<IAMTimelineObj> node(TIMELINE_MAJOR_TYPE type) {
    ComPtr<IAMTimelineObj> made;
    EXPECT_EQ(timeline->CreateEmptyNode(made.put(), type), S_OK);
    return made;
  }
  // A group of the major type with one track, added to the timeline.
  ComPtr<IAMTimelineObj> group(const GUID& major, ComPtr<IAMTimelineTrack>& track) {
    ComPtr<IAMTimelineObj> made = node(TIMELINE_MAJOR_TYPE_GROUP);
    ComPtr<IAMTimelineGroup> asGroup;
    made->QueryInterface(IID_IAMTimelineGroup, asGroup.putVoid());
    AM_MEDIA_TYPE type{};
    type.majortype = major;
    EXPECT_EQ(asGroup->SetMediaType(&type), S_OK);
    EXPECT_EQ(timeline->AddGroup(made.get()), S_OK);
    ComPtr<IAMTimelineObj> trackNode = node(TIMELINE_MAJOR_TYPE_TRACK);
    ComPtr<IAMTimelineComp> composition;
    made->QueryInterface(IID_IAMTimelineComp, composition.putVoid());
    EXPECT_EQ(composition->VTrackInsBefore(trackNode.get(), -1), S_OK);
    trackNode->QueryInterface(IID_IAMTimelineTrack, track.putVoid());
    return made;
  }
  HRESULT addClip(IAMTimelineTrack* track, REFERENCE_TIME at, REFERENCE_TIME from, REFERENCE_TIME to) {
    ComPtr<IAMTimelineObj> source = node(TIMELINE_MAJOR_TYPE_SOURCE);
    ComPtr<IAMTimelineSrc> media;
    source->QueryInterface(IID_IAMTimelineSrc, media.putVoid());
    source->SetStartStop(at, at + to - from);
    media->SetMediaTimes(from, to);
    BSTR name = SysAllocString(L"C:\\clip.mpg");
    media->SetMediaName(name);
    SysFreeString(name);
    return track->SrcAdd(source.get());
  }

  ComPtr<IAMTimeline> timeline;
};

TEST_F(EditingServicesTest, TracksKeepTheirClipsInTimelineOrderAndRefuseBadOnes) {
  ComPtr<IAMTimelineTrack> track;
  group(MEDIATYPE_Video, track);
  EXPECT_EQ(addClip(track.get(), kSecond, 0, kSecond), S_OK);
  EXPECT_EQ(addClip(track.get(), 0, kSecond, 2 * kSecond), S_OK);
  EXPECT_EQ(addClip(track.get(), 2 * kSecond, kSecond, kSecond / 2), E_INVALIDARG) << "reversed";
  EXPECT_EQ(addClip(track.get(), 2 * kSecond, kSecond, 4 * kSecond), E_INVALIDARG) << "past the file's end";
  long count = 0;
  EXPECT_EQ(track->GetSourcesCount(&count), S_OK);
  EXPECT_EQ(count, 2);
  REFERENCE_TIME at = 0;
  ComPtr<IAMTimelineObj> first;
  ASSERT_EQ(track->GetNextSrc(first.put(), &at), S_OK);
  REFERENCE_TIME start = 0, stop = 0;
  first->GetStartStop(&start, &stop);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(at, kSecond);
  ComPtr<IAMTimelineObj> second;
  EXPECT_EQ(track->GetNextSrc(second.put(), &at), S_OK);
  ComPtr<IAMTimelineObj> none;
  EXPECT_EQ(track->GetNextSrc(none.put(), &at), S_FALSE);
  REFERENCE_TIME duration = 0;
  timeline->GetDuration(&duration);
  EXPECT_EQ(duration, 2 * kSecond);
}

TEST_F(EditingServicesTest, TheRenderEngineGivesAnOutputPerGroupInTheirOrder) {
  ComPtr<IAMTimelineTrack> sound;
  ComPtr<IAMTimelineTrack> pictures;
  group(MEDIATYPE_Audio, sound);
  group(MEDIATYPE_Video, pictures);
  ASSERT_EQ(addClip(pictures.get(), 0, 0, kSecond), S_OK);
  ComPtr<IRenderEngine> engine;
  ASSERT_EQ(CoCreateInstance(CLSID_RenderEngine, nullptr, CLSCTX_INPROC_SERVER, IID_IRenderEngine, engine.putVoid()), S_OK);
  ComPtr<IPin> pin;
  EXPECT_EQ(engine->ConnectFrontEnd(), E_UNEXPECTED) << "no timeline yet";
  ASSERT_EQ(engine->SetTimelineObject(timeline.get()), S_OK);
  EXPECT_EQ(engine->ConnectFrontEnd(), S_WARN_OUTPUTRESET);
  EXPECT_EQ(engine->ConnectFrontEnd(), S_OK) << "nothing changed";

  ASSERT_EQ(engine->GetGroupOutputPin(1, pin.put()), S_OK);
  AM_MEDIA_TYPE type{};
  ASSERT_EQ(pin->ConnectionMediaType(&type), VFW_E_NOT_CONNECTED);
  ComPtr<IEnumMediaTypes> types;
  ASSERT_EQ(pin->EnumMediaTypes(types.put()), S_OK);
  AM_MEDIA_TYPE* offered = nullptr;
  ASSERT_EQ(types->Next(1, &offered, nullptr), S_OK);
  EXPECT_EQ(offered->subtype, MEDIASUBTYPE_YUY2);
  EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(offered->pbFormat)->bmiHeader.biWidth, 176) << "the first clip's size";
  DeleteMediaType(offered);
  EXPECT_EQ(engine->GetGroupOutputPin(2, pin.put()), E_INVALIDARG);

  ASSERT_EQ(engine->RenderOutputPins(), S_OK);
  ComPtr<IGraphBuilder> built;
  ASSERT_EQ(engine->GetFilterGraph(built.put()), S_OK);
  ComPtr<IMediaSeeking> seeking;
  built->QueryInterface(IID_IMediaSeeking, seeking.putVoid());
  LONGLONG duration = 0;
  EXPECT_EQ(seeking->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, kSecond);

  // A third group changes the front end: the outputs are new and must be rendered again.
  ComPtr<IAMTimelineTrack> more;
  group(MEDIATYPE_Video, more);
  EXPECT_EQ(engine->ConnectFrontEnd(), S_WARN_OUTPUTRESET);
  EXPECT_EQ(engine->GetGroupOutputPin(2, pin.put()), S_OK);
  EXPECT_EQ(engine->ScrapIt(), S_OK);
}

}  // namespace
