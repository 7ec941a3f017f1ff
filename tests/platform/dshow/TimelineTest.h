// A fresh machine with a filter graph (GraphTest), a two-second MPEG clip "C:\clip.mpg"
// and an empty Editing Services timeline, with helpers that add groups, tracks and clips.
#pragma once

#include "GraphTest.h"
#include "MediaFileWriter.h"

#include <com/oleauto.h>
#include <dshow/qedit.h>

#include <string>

namespace dstest {

constexpr REFERENCE_TIME kSecond = 10000000;

class TimelineTest : public GraphTest {
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
  // A source clip of `file` from `from` to `to`, placed at `at`.
  ComPtr<IAMTimelineObj> source(REFERENCE_TIME at, REFERENCE_TIME from, REFERENCE_TIME to,
                                const std::wstring& file = L"C:\\clip.mpg") {
    ComPtr<IAMTimelineObj> made = node(TIMELINE_MAJOR_TYPE_SOURCE);
    ComPtr<IAMTimelineSrc> media;
    made->QueryInterface(IID_IAMTimelineSrc, media.putVoid());
    made->SetStartStop(at, at + (to - from));
    media->SetMediaTimes(from, to);
    BSTR name = SysAllocString(file.c_str());
    media->SetMediaName(name);
    SysFreeString(name);
    return made;
  }
  HRESULT addClip(IAMTimelineTrack* track, REFERENCE_TIME at, REFERENCE_TIME from, REFERENCE_TIME to,
                  const std::wstring& file = L"C:\\clip.mpg") {
    return track->SrcAdd(source(at, from, to, file).get());
  }

  ComPtr<IAMTimeline> timeline;
};

}  // namespace dstest
