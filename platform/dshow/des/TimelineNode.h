// A node of an Editing Services timeline: a group (one output stream of a media type,
// holding tracks), a track (holding source clips in timeline order) or a source clip (a
// stretch of a media file placed at a stretch of the timeline). One class serves the
// three; it answers only the interfaces of its own kind. Nodes hold their children; a
// child knows its parent only while it is inside it.
#pragma once

#include <com/ComPtr.h>
#include <dshow/baseclasses/CUnknown.h>
#include <dshow/qedit.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

class TimelineNode : public CUnknown,
                     public IAMTimelineObj,
                     public IAMTimelineGroup,
                     public IAMTimelineComp,
                     public IAMTimelineTrack,
                     public IAMTimelineSrc {
 public:
  // A clip as the render engine plays it.
  struct Clip {
    REFERENCE_TIME start;       // on the timeline
    REFERENCE_TIME stop;
    REFERENCE_TIME mediaStart;  // in the file
    REFERENCE_TIME mediaStop;
    std::wstring file;
    bool operator==(const Clip&) const = default;
  };

  explicit TimelineNode(TIMELINE_MAJOR_TYPE type);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // Our node behind a timeline interface, or null for anybody else's object.
  static TimelineNode* from(IUnknown* object);

  TIMELINE_MAJOR_TYPE type() const { return m_type; }
  bool inside() const { return m_parent != nullptr; }
  GUID majorType();
  // The group's clips of every track, in timeline order.
  std::vector<Clip> clips();
  REFERENCE_TIME end();

  // IAMTimelineObj
  STDMETHODIMP GetStartStop(REFERENCE_TIME* pStart, REFERENCE_TIME* pStop) override;
  STDMETHODIMP SetStartStop(REFERENCE_TIME Start, REFERENCE_TIME Stop) override;
  STDMETHODIMP GetTimelineType(TIMELINE_MAJOR_TYPE* pVal) override;
  STDMETHODIMP RemoveAll() override;
  // IAMTimelineGroup
  STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP GetMediaType(AM_MEDIA_TYPE* pmt) override;
  // IAMTimelineComp
  STDMETHODIMP VTrackInsBefore(IAMTimelineObj* pVirtualTrack, long Priority) override;
  STDMETHODIMP VTrackGetCount(long* pVal) override;
  // IAMTimelineTrack
  STDMETHODIMP SrcAdd(IAMTimelineObj* pSource) override;
  STDMETHODIMP GetSourcesCount(long* pVal) override;
  STDMETHODIMP GetNextSrc(IAMTimelineObj** ppSrc, REFERENCE_TIME* pInOut) override;
  // IAMTimelineSrc
  STDMETHODIMP GetMediaTimes(REFERENCE_TIME* pStart, REFERENCE_TIME* pStop) override;
  STDMETHODIMP SetMediaTimes(REFERENCE_TIME Start, REFERENCE_TIME Stop) override;
  STDMETHODIMP SetMediaName(BSTR newVal) override;
  STDMETHODIMP GetMediaName(BSTR* pVal) override;

 private:
  // Whether the source's times are in order and within its file.
  HRESULT checkSource();

  const TIMELINE_MAJOR_TYPE m_type;
  std::recursive_mutex m_lock;
  std::atomic<TimelineNode*> m_parent{nullptr};
  std::vector<ComPtr<TimelineNode>> m_children;
  REFERENCE_TIME m_start = 0;
  REFERENCE_TIME m_stop = 0;
  REFERENCE_TIME m_mediaStart = 0;
  REFERENCE_TIME m_mediaStop = 0;
  std::wstring m_file;
  GUID m_major = GUID_NULL;
};

}  // namespace plat
