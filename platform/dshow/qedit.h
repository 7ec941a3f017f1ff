// Editing Services: a timeline of groups (one output stream each, by media type), their
// tracks and the source clips on them, and the render engine that turns a timeline into a
// filter graph whose group output pins a preview renders or a save connects to a file
// writer. Only what callers here use is declared.
#pragma once

#include <com/oaidl.h>
#include <dshow/strmif.h>

enum TIMELINE_MAJOR_TYPE {
  TIMELINE_MAJOR_TYPE_COMPOSITE = 1,
  TIMELINE_MAJOR_TYPE_TRACK = 2,
  TIMELINE_MAJOR_TYPE_SOURCE = 4,
  TIMELINE_MAJOR_TYPE_TRANSITION = 8,
  TIMELINE_MAJOR_TYPE_EFFECT = 16,
  TIMELINE_MAJOR_TYPE_GROUP = 128,
};

// ConnectFrontEnd rebuilt the group outputs: they must be rendered again.
#define S_WARN_OUTPUTRESET ((HRESULT)40404L)

// {78530B75-61F9-11D2-8CAD-00A024580902}
DEFINE_GUID(CLSID_AMTimeline, 0x78530B75, 0x61F9, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02);
// {64D8A8E0-80A2-11D2-8CF3-00A0C9441E20}
DEFINE_GUID(CLSID_RenderEngine, 0x64D8A8E0, 0x80A2, 0x11D2, 0x8C, 0xF3, 0x00, 0xA0, 0xC9, 0x44, 0x1E, 0x20);
// {78530B74-61F9-11D2-8CAD-00A024580902}
DEFINE_GUID(IID_IAMTimeline, 0x78530B74, 0x61F9, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02);
// {78530B77-61F9-11D2-8CAD-00A024580902}
DEFINE_GUID(IID_IAMTimelineObj, 0x78530B77, 0x61F9, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02);
// {9EED4F00-B8A6-11D2-8023-00C0DF10D434}
DEFINE_GUID(IID_IAMTimelineGroup, 0x9EED4F00, 0xB8A6, 0x11D2, 0x80, 0x23, 0x00, 0xC0, 0xDF, 0x10, 0xD4, 0x34);
// {EAE58536-622E-11D2-8CAD-00A024580902}
DEFINE_GUID(IID_IAMTimelineComp, 0xEAE58536, 0x622E, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02);
// {EAE58538-622E-11D2-8CAD-00A024580902}
DEFINE_GUID(IID_IAMTimelineTrack, 0xEAE58538, 0x622E, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02);
// {78530B79-61F9-11D2-8CAD-00A024580902}
DEFINE_GUID(IID_IAMTimelineSrc, 0x78530B79, 0x61F9, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02);
// {65BD0711-24D2-4FF7-9324-ED2E5D3ABAFA}
DEFINE_GUID(CLSID_MediaDet, 0x65BD0711, 0x24D2, 0x4FF7, 0x93, 0x24, 0xED, 0x2E, 0x5D, 0x3A, 0xBA, 0xFA);
// {65BD0710-24D2-4FF7-9324-ED2E5D3ABAFA}
DEFINE_GUID(IID_IMediaDet, 0x65BD0710, 0x24D2, 0x4FF7, 0x93, 0x24, 0xED, 0x2E, 0x5D, 0x3A, 0xBA, 0xFA);
// {6BEE3A81-66C9-11D2-918F-00C0DF10D434}
DEFINE_GUID(IID_IRenderEngine, 0x6BEE3A81, 0x66C9, 0x11D2, 0x91, 0x8F, 0x00, 0xC0, 0xDF, 0x10, 0xD4, 0x34);

struct IAMTimelineObj : public IUnknown {
  STDMETHOD(GetStartStop)(REFERENCE_TIME* pStart, REFERENCE_TIME* pStop) = 0;
  STDMETHOD(SetStartStop)(REFERENCE_TIME Start, REFERENCE_TIME Stop) = 0;
  STDMETHOD(GetTimelineType)(TIMELINE_MAJOR_TYPE* pVal) = 0;
  // Takes the object, with what it holds, out of the track or group holding it; S_FALSE
  // when nothing holds it. Groups stay in their timeline.
  STDMETHOD(RemoveAll)() = 0;

 protected:
  ~IAMTimelineObj() = default;
};

struct IAMTimeline : public IUnknown {
  STDMETHOD(CreateEmptyNode)(IAMTimelineObj** ppObj, TIMELINE_MAJOR_TYPE Type) = 0;
  STDMETHOD(AddGroup)(IAMTimelineObj* pGroup) = 0;
  STDMETHOD(GetGroupCount)(long* pCount) = 0;
  STDMETHOD(GetGroup)(IAMTimelineObj** ppGroup, long WhichGroup) = 0;
  // The end of the latest source of any group.
  STDMETHOD(GetDuration)(REFERENCE_TIME* pDuration) = 0;

 protected:
  ~IAMTimeline() = default;
};

struct IAMTimelineGroup : public IUnknown {
  // Only the major type is read: the group's output format follows its first clip.
  STDMETHOD(SetMediaType)(AM_MEDIA_TYPE* pmt) = 0;
  STDMETHOD(GetMediaType)(AM_MEDIA_TYPE* pmt) = 0;

 protected:
  ~IAMTimelineGroup() = default;
};

struct IAMTimelineComp : public IUnknown {
  // Priority -1 puts the track at the end.
  STDMETHOD(VTrackInsBefore)(IAMTimelineObj* pVirtualTrack, long Priority) = 0;
  STDMETHOD(VTrackGetCount)(long* pVal) = 0;

 protected:
  ~IAMTimelineComp() = default;
};

struct IAMTimelineTrack : public IUnknown {
  // E_INVALIDARG for a clip whose times are reversed, negative or beyond its file.
  STDMETHOD(SrcAdd)(IAMTimelineObj* pSource) = 0;
  STDMETHOD(GetSourcesCount)(long* pVal) = 0;
  // The first source starting at or after *pInOut, which becomes its stop; S_FALSE after the last.
  STDMETHOD(GetNextSrc)(IAMTimelineObj** ppSrc, REFERENCE_TIME* pInOut) = 0;

 protected:
  ~IAMTimelineTrack() = default;
};

struct IAMTimelineSrc : public IUnknown {
  STDMETHOD(GetMediaTimes)(REFERENCE_TIME* pStart, REFERENCE_TIME* pStop) = 0;
  STDMETHOD(SetMediaTimes)(REFERENCE_TIME Start, REFERENCE_TIME Stop) = 0;
  STDMETHOD(SetMediaName)(BSTR newVal) = 0;
  STDMETHOD(GetMediaName)(BSTR* pVal) = 0;

 protected:
  ~IAMTimelineSrc() = default;
};

struct IRenderEngine : public IUnknown {
  STDMETHOD(SetTimelineObject)(IAMTimeline* pTimeline) = 0;
  STDMETHOD(GetTimelineObject)(IAMTimeline** ppTimeline) = 0;
  STDMETHOD(GetFilterGraph)(IGraphBuilder** ppFG) = 0;
  // Builds or brings up to date one source filter per group, feeding the group's output pin.
  STDMETHOD(ConnectFrontEnd)() = 0;
  // Renders every group output pin not yet connected with the graph's default renderers.
  STDMETHOD(RenderOutputPins)() = 0;
  STDMETHOD(GetGroupOutputPin)(long Group, IPin** ppRenderPin) = 0;
  // Lets go of the graph and everything in it.
  STDMETHOD(ScrapIt)() = 0;

 protected:
  ~IRenderEngine() = default;
};

// The media detector: a media file's streams and their types, and a picture of its video
// stream written as a bitmap file, without a graph the caller has to run.
struct IMediaDet : public IUnknown {
  STDMETHOD(put_Filename)(BSTR newVal) = 0;
  STDMETHOD(get_OutputStreams)(long* pVal) = 0;
  STDMETHOD(put_CurrentStream)(long newVal) = 0;
  // The current stream's type; the caller frees the format block (FreeMediaType).
  STDMETHOD(get_StreamMediaType)(AM_MEDIA_TYPE* pVal) = 0;
  // The current (video) stream's picture at `StreamTime` seconds, scaled to Width x
  // Height, as a 24-bit bitmap file.
  STDMETHOD(WriteBitmapBits)(double StreamTime, long Width, long Height, BSTR Filename) = 0;

 protected:
  ~IMediaDet() = default;
};
