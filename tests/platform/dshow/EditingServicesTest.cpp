// Editing Services: the timeline keeps groups in the order they were added and a track's
// clips in timeline order, refuses clips whose times are reversed or beyond their file
// (read through when its header has no length), lets clips be taken out again, and the
// render engine builds one group source per group whose output follows the first
// clip's format, reconnects without a reset while the groups stay, and resets when they
// change.
#include "TimelineTest.h"

#include <fstream>
#include <iterator>

namespace {

using dstest::kSecond;
using plat::ComPtr;

using EditingServicesTest = dstest::TimelineTest;

// Takes from an AVI what tells its length: the index at its end and the frame counts of
// its main header and stream headers, as a recorder cut off before finishing leaves them.
bool StripLengths(const std::filesystem::path& file) {
  std::string bytes;
  {
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const size_t index = bytes.rfind("idx1");
  const size_t header = bytes.find("avih");
  if (index == std::string::npos || header == std::string::npos) return false;
  bytes.resize(index);
  bytes.replace(header + 8 + 16, 4, 4, '\0');  // total frames
  for (size_t stream = bytes.find("strh"); stream != std::string::npos; stream = bytes.find("strh", stream + 4))
    bytes.replace(stream + 8 + 32, 4, 4, '\0');  // the stream's length
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  return true;
}

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

TEST_F(EditingServicesTest, AnAviWithoutItsLengthIsReadThroughForIt) {
  const auto file = machine().paths().driveFolder('C') / "cut-off.avi";
  ASSERT_TRUE(dstest::MediaFileWriter::write(file, dstest::MediaFileWriter::Kind::Avi, 2.0, 32, 24));
  ASSERT_TRUE(StripLengths(file));
  ComPtr<IAMTimelineTrack> track;
  group(MEDIATYPE_Video, track);
  EXPECT_EQ(addClip(track.get(), 0, kSecond, 2 * kSecond, L"C:\\cut-off.avi"), S_OK) << "up to its end";
  EXPECT_EQ(addClip(track.get(), 2 * kSecond, kSecond, 3 * kSecond, L"C:\\cut-off.avi"), E_INVALIDARG)
      << "a second past its end";
  EXPECT_EQ(addClip(track.get(), 2 * kSecond, 10 * kSecond, 11 * kSecond, L"C:\\cut-off.avi"), E_INVALIDARG);
}

TEST_F(EditingServicesTest, AClipTakenOutLeavesItsTrackAndMayBeAddedAgain) {
  ComPtr<IAMTimelineTrack> track;
  group(MEDIATYPE_Video, track);
  ComPtr<IAMTimelineObj> first = source(0, 0, kSecond);
  ComPtr<IAMTimelineObj> last = source(kSecond, 0, 2 * kSecond);
  EXPECT_EQ(first->RemoveAll(), S_FALSE) << "on no track yet";
  ASSERT_EQ(track->SrcAdd(first.get()), S_OK);
  ASSERT_EQ(track->SrcAdd(last.get()), S_OK);
  EXPECT_EQ(track->SrcAdd(last.get()), E_INVALIDARG) << "already on a track";
  EXPECT_EQ(last->RemoveAll(), S_OK);
  long count = 0;
  track->GetSourcesCount(&count);
  EXPECT_EQ(count, 1);
  REFERENCE_TIME duration = 0;
  timeline->GetDuration(&duration);
  EXPECT_EQ(duration, kSecond) << "the timeline ends with the clip left";
  EXPECT_EQ(last->RemoveAll(), S_FALSE);
  EXPECT_EQ(track->SrcAdd(last.get()), S_OK);
  timeline->GetDuration(&duration);
  EXPECT_EQ(duration, 3 * kSecond);
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
