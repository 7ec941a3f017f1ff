#include <dshow/des/TimelineNode.h>

#include <com/oleauto.h>
#include <dshow/AnsiText.h>
#include <dshow/des/ClipReader.h>
#include <machine/Machine.h>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

// {5C3A6E21-7B84-4D0F-9E12-3A4B5C6D7E80}: our own nodes answer it with themselves.
DEFINE_GUID(IID_PlatTimelineNode, 0x5C3A6E21, 0x7B84, 0x4D0F, 0x9E, 0x12, 0x3A, 0x4B, 0x5C, 0x6D, 0x7E, 0x80);

// A clip may end a little after its file's reported end: containers estimate durations.
constexpr REFERENCE_TIME kEndSlack = 2000000;

}  // namespace

TimelineNode::TimelineNode(TIMELINE_MAJOR_TYPE type) : CUnknown("Timeline node", nullptr), m_type(type) {}

STDMETHODIMP TimelineNode::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAMTimelineObj || riid == IID_PlatTimelineNode)
    return GetInterface(static_cast<IAMTimelineObj*>(this), ppv);
  if (m_type == TIMELINE_MAJOR_TYPE_GROUP && riid == IID_IAMTimelineGroup)
    return GetInterface(static_cast<IAMTimelineGroup*>(this), ppv);
  if (m_type == TIMELINE_MAJOR_TYPE_GROUP && riid == IID_IAMTimelineComp)
    return GetInterface(static_cast<IAMTimelineComp*>(this), ppv);
  if (m_type == TIMELINE_MAJOR_TYPE_TRACK && riid == IID_IAMTimelineTrack)
    return GetInterface(static_cast<IAMTimelineTrack*>(this), ppv);
  if (m_type == TIMELINE_MAJOR_TYPE_SOURCE && riid == IID_IAMTimelineSrc)
    return GetInterface(static_cast<IAMTimelineSrc*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

TimelineNode* TimelineNode::from(IUnknown* object) {
  if (!object) return nullptr;
  IAMTimelineObj* node = nullptr;
  if (FAILED(object->QueryInterface(IID_PlatTimelineNode, reinterpret_cast<void**>(&node)))) return nullptr;
  node->Release();  // the caller holds the object
  return static_cast<TimelineNode*>(node);
}

GUID TimelineNode::majorType() {
  std::lock_guard guard(m_lock);
  return m_major;
}

std::vector<TimelineNode::Clip> TimelineNode::clips() {
  std::lock_guard guard(m_lock);
  std::vector<Clip> all;
  for (const auto& child : m_children) {
    if (child->m_type == TIMELINE_MAJOR_TYPE_SOURCE) {
      std::lock_guard childGuard(child->m_lock);
      all.push_back({child->m_start, child->m_stop, child->m_mediaStart, child->m_mediaStop, child->m_file});
    } else {
      const auto more = child->clips();
      all.insert(all.end(), more.begin(), more.end());
    }
  }
  std::stable_sort(all.begin(), all.end(), [](const Clip& a, const Clip& b) { return a.start < b.start; });
  return all;
}

REFERENCE_TIME TimelineNode::end() {
  REFERENCE_TIME last = 0;
  for (const Clip& clip : clips()) last = std::max(last, clip.stop);
  return last;
}

STDMETHODIMP TimelineNode::GetStartStop(REFERENCE_TIME* pStart, REFERENCE_TIME* pStop) {
  CheckPointer(pStart, E_POINTER);
  CheckPointer(pStop, E_POINTER);
  std::lock_guard guard(m_lock);
  *pStart = m_start;
  *pStop = m_stop;
  return S_OK;
}

STDMETHODIMP TimelineNode::SetStartStop(REFERENCE_TIME Start, REFERENCE_TIME Stop) {
  std::lock_guard guard(m_lock);
  m_start = Start;
  m_stop = Stop;
  return S_OK;
}

STDMETHODIMP TimelineNode::GetTimelineType(TIMELINE_MAJOR_TYPE* pVal) {
  CheckPointer(pVal, E_POINTER);
  *pVal = m_type;
  return S_OK;
}

STDMETHODIMP TimelineNode::RemoveAll() {
  TimelineNode* parent = m_parent;
  if (!parent) return S_FALSE;
  // The caller's reference keeps this node alive once its holder lets go of it.
  std::lock_guard guard(parent->m_lock);
  std::erase_if(parent->m_children, [this](const ComPtr<TimelineNode>& child) { return child.get() == this; });
  m_parent = nullptr;
  return S_OK;
}

STDMETHODIMP TimelineNode::SetMediaType(AM_MEDIA_TYPE* pmt) {
  CheckPointer(pmt, E_POINTER);
  if (pmt->majortype != MEDIATYPE_Video && pmt->majortype != MEDIATYPE_Audio) return E_INVALIDARG;
  std::lock_guard guard(m_lock);
  m_major = pmt->majortype;
  return S_OK;
}

STDMETHODIMP TimelineNode::GetMediaType(AM_MEDIA_TYPE* pmt) {
  CheckPointer(pmt, E_POINTER);
  std::memset(pmt, 0, sizeof(*pmt));
  std::lock_guard guard(m_lock);
  pmt->majortype = m_major;
  return S_OK;
}

STDMETHODIMP TimelineNode::VTrackInsBefore(IAMTimelineObj* pVirtualTrack, long Priority) {
  TimelineNode* track = from(pVirtualTrack);
  if (!track || track->m_type != TIMELINE_MAJOR_TYPE_TRACK || track->inside()) return E_INVALIDARG;
  std::lock_guard guard(m_lock);
  const long count = static_cast<long>(m_children.size());
  const long at = Priority < 0 || Priority > count ? count : Priority;
  m_children.insert(m_children.begin() + at, ComPtr<TimelineNode>(track));
  track->m_parent = this;
  return S_OK;
}

STDMETHODIMP TimelineNode::VTrackGetCount(long* pVal) {
  CheckPointer(pVal, E_POINTER);
  std::lock_guard guard(m_lock);
  *pVal = static_cast<long>(m_children.size());
  return S_OK;
}

HRESULT TimelineNode::checkSource() {
  std::lock_guard guard(m_lock);
  if (m_start < 0 || m_stop <= m_start || m_mediaStart < 0 || m_mediaStop <= m_mediaStart || m_file.empty())
    return E_INVALIDARG;
  ClipReader::Info info;
  const auto path = Machine::current().paths().toLinux(AnsiText::fromWide(m_file));
  if (!ClipReader::probe(path.string(), info)) return VFW_E_NOT_FOUND;
  // A file whose length cannot be told at all has no stretch the marks could lie in.
  if (info.duration <= 0 || m_mediaStop - kEndSlack > info.duration) return E_INVALIDARG;
  return S_OK;
}

STDMETHODIMP TimelineNode::SrcAdd(IAMTimelineObj* pSource) {
  TimelineNode* source = from(pSource);
  if (!source || source->m_type != TIMELINE_MAJOR_TYPE_SOURCE || source->inside()) return E_INVALIDARG;
  // Reversed marks or marks beyond the file would play as garbage: such a clip is refused.
  if (const HRESULT hr = source->checkSource(); FAILED(hr)) return hr;
  std::lock_guard guard(m_lock);
  m_children.push_back(ComPtr<TimelineNode>(source));
  source->m_parent = this;
  return S_OK;
}

STDMETHODIMP TimelineNode::GetSourcesCount(long* pVal) {
  CheckPointer(pVal, E_POINTER);
  std::lock_guard guard(m_lock);
  *pVal = static_cast<long>(m_children.size());
  return S_OK;
}

STDMETHODIMP TimelineNode::GetNextSrc(IAMTimelineObj** ppSrc, REFERENCE_TIME* pInOut) {
  CheckPointer(ppSrc, E_POINTER);
  CheckPointer(pInOut, E_POINTER);
  *ppSrc = nullptr;
  std::lock_guard guard(m_lock);
  TimelineNode* next = nullptr;
  for (const auto& child : m_children)
    if (child->m_start >= *pInOut && (!next || child->m_start < next->m_start)) next = child.get();
  if (!next) return S_FALSE;
  *pInOut = next->m_stop;
  return GetInterface(static_cast<IAMTimelineObj*>(next), reinterpret_cast<void**>(ppSrc));
}

STDMETHODIMP TimelineNode::GetMediaTimes(REFERENCE_TIME* pStart, REFERENCE_TIME* pStop) {
  CheckPointer(pStart, E_POINTER);
  CheckPointer(pStop, E_POINTER);
  std::lock_guard guard(m_lock);
  *pStart = m_mediaStart;
  *pStop = m_mediaStop;
  return S_OK;
}

STDMETHODIMP TimelineNode::SetMediaTimes(REFERENCE_TIME Start, REFERENCE_TIME Stop) {
  std::lock_guard guard(m_lock);
  m_mediaStart = Start;
  m_mediaStop = Stop;
  return S_OK;
}

STDMETHODIMP TimelineNode::SetMediaName(BSTR newVal) {
  CheckPointer(newVal, E_POINTER);
  std::lock_guard guard(m_lock);
  m_file = newVal;
  return S_OK;
}

STDMETHODIMP TimelineNode::GetMediaName(BSTR* pVal) {
  CheckPointer(pVal, E_POINTER);
  std::lock_guard guard(m_lock);
  *pVal = SysAllocString(m_file.c_str());
  return *pVal ? S_OK : E_OUTOFMEMORY;
}

}  // namespace plat
