#include "CProject.h"

#include "CMpegEncoder.h"

#include <com/objbase.h>
#include <com/oleauto.h>
#include <dshow/baseclasses/llMulDiv.h>
#include <win32/codepage.h>
#include <win32/crtdbg.h>
#include <win32/file.h>
#include <win32/thread.h>
#include <win32/time.h>
#include <win32/user.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr long kChildVideoStyle = 0x46000000;  // WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
constexpr int kOutputMpeg1 = 0;
constexpr int kOutputMpeg2 = 1;
constexpr int kOutputAvi = 5;
// A save is written beside its file under this suffix and renamed over it only when complete.
constexpr const char* kPartSuffix = ".rendering";
// How often a save looks at its file, and how long the file may stay the same size
// before the save is given up: encoders hold back at most a few seconds of stream.
constexpr long kProgressCheckMs = 1000;
constexpr DWORD kMostStallMs = 30000;

// The size of a file, 0 when there is none.
ULONGLONG FileBytes(const char* path) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  FindClose(search);
  return static_cast<ULONGLONG>(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
}

template <class T>
void Release(T*& itf) {
  if (itf) itf->Release();
  itf = nullptr;
}

bool SameClip(const mpeg_src_s& a, const mpeg_src_s& b) {
  return a.timeline_start == b.timeline_start && a.timeline_stop == b.timeline_stop &&
         a.video_track == b.video_track && a.no_audio_track == b.no_audio_track;
}

enum Track { kNoTrack, kVideoTrack, kAudioTrack };

Track TrackOf(const mpeg_src_s& src) {
  if (src.video_track != 0) return kVideoTrack;
  return src.no_audio_track == 0 ? kAudioTrack : kNoTrack;
}

// The whole record, byte for byte as far as it has fields.
bool SameRecord(const mpeg_src_s& a, const mpeg_src_s& b) {
  return SameClip(a, b) && a.media_start == b.media_start && a.media_stop == b.media_stop &&
         a.file_name == b.file_name && a.reserved == b.reserved;
}

BSTR WideName(const char* name) {
  const int length = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
  if (length <= 0) return nullptr;
  BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
  if (wide) MultiByteToWideChar(CP_ACP, 0, name, -1, wide, length);
  return wide;
}

}  // namespace

CProject::CProject() { InitializeCriticalSection(&m_lock); }

CProject::~CProject() {
  if (m_control) m_control->Stop();
  for (CSourceNode& node : m_sources) Release(node.clip);
  m_sources.clear();
  ReleaseGraph();
  Release(m_videoTrack);
  Release(m_audioTrack);
  Release(m_videoGroup);
  Release(m_audioGroup);
  Release(pTL);
  DeleteCriticalSection(&m_lock);
}

CProject::CCall::CCall(CProject& project) : m_project(project), m_held(TryEnterCriticalSection(&project.m_lock) != FALSE) {
  // Held by a short call of another thread: waited for. Held by a save: refused.
  if (!m_held && !project.m_saving) {
    EnterCriticalSection(&project.m_lock);
    m_held = true;
  }
}

CProject::CCall::~CCall() {
  if (m_held) LeaveCriticalSection(&m_project.m_lock);
}

// ---- the timeline

bool CProject::MakeTimeline() {
  if (pTL) return true;
  HRESULT hr = CoCreateInstance(CLSID_AMTimeline, NULL, CLSCTX_INPROC_SERVER, IID_IAMTimeline, reinterpret_cast<void**>(&pTL));
  _ASSERTE(!FAILED(hr));
  return SUCCEEDED(hr);
}

bool CProject::MakeGroup(IAMTimelineObj*& group, const GUID& major, int& madeFlag) {
  if (group) return true;
  if (!MakeTimeline() || FAILED(pTL->CreateEmptyNode(&group, TIMELINE_MAJOR_TYPE_GROUP))) return false;
  IAMTimelineGroup* asGroup = nullptr;
  AM_MEDIA_TYPE type{};
  type.majortype = major;
  bool made = SUCCEEDED(group->QueryInterface(IID_IAMTimelineGroup, reinterpret_cast<void**>(&asGroup))) &&
              SUCCEEDED(asGroup->SetMediaType(&type)) && SUCCEEDED(pTL->AddGroup(group));
  Release(asGroup);
  if (!made) {
    Release(group);
    return false;
  }
  madeFlag = 1;
  return true;
}

bool CProject::MakeTrack(IAMTimelineObj*& track, IAMTimelineObj*& group, const GUID& major, int& madeFlag) {
  if (track) return true;
  if (!MakeGroup(group, major, madeFlag) || FAILED(pTL->CreateEmptyNode(&track, TIMELINE_MAJOR_TYPE_TRACK))) return false;
  IAMTimelineComp* composition = nullptr;
  const bool inserted = SUCCEEDED(group->QueryInterface(IID_IAMTimelineComp, reinterpret_cast<void**>(&composition))) &&
                        SUCCEEDED(composition->VTrackInsBefore(track, -1));
  Release(composition);
  if (!inserted) Release(track);
  return inserted;
}

// ---- the source list

int CProject::AddSource(const mpeg_src_s* src) {
  const CCall call(*this);
  if (!src || !call) return 0;
  for (const CSourceNode& node : m_sources) {
    if (!SameClip(node.src, *src)) continue;
    // The same clip again is no change; another clip on the same stretch is not added.
    const bool sameFile = src->file_name && node.file == src->file_name;
    return sameFile && node.src.media_start == src->media_start && node.src.media_stop == src->media_stop ? 1 : 0;
  }
  if (m_graphMode == kSaving || m_playState != kStopped || !MakeTimeline()) return 0;
  // Reversed or negative marks would render as garbage.
  if (!src->file_name || src->timeline_start < 0 || src->timeline_stop <= src->timeline_start ||
      src->media_start < 0 || src->media_stop <= src->media_start)
    return 0;
  const bool toVideo = TrackOf(*src) == kVideoTrack;
  const bool toAudio = TrackOf(*src) == kAudioTrack;
  // The video group is always the first, so group outputs keep their order whatever is added first.
  if (toVideo && !MakeTrack(m_videoTrack, m_videoGroup, MEDIATYPE_Video, m_videoGroupMade)) return 0;
  if (toAudio && (!MakeGroup(m_videoGroup, MEDIATYPE_Video, m_videoGroupMade) ||
                  !MakeTrack(m_audioTrack, m_audioGroup, MEDIATYPE_Audio, m_audioGroupMade)))
    return 0;

  IAMTimelineObj* source = nullptr;
  if (FAILED(pTL->CreateEmptyNode(&source, TIMELINE_MAJOR_TYPE_SOURCE))) return 0;
  IAMTimelineSrc* media = nullptr;
  BSTR name = WideName(src->file_name);
  bool made = name && SUCCEEDED(source->SetStartStop(src->timeline_start, src->timeline_stop)) &&
              SUCCEEDED(source->QueryInterface(IID_IAMTimelineSrc, reinterpret_cast<void**>(&media))) &&
              SUCCEEDED(media->SetMediaTimes(src->media_start, src->media_stop)) && SUCCEEDED(media->SetMediaName(name));
  SysFreeString(name);
  Release(media);
  if (made && (toVideo || toAudio)) {
    IAMTimelineTrack* track = nullptr;
    made = SUCCEEDED((toVideo ? m_videoTrack : m_audioTrack)->QueryInterface(IID_IAMTimelineTrack,
                                                                            reinterpret_cast<void**>(&track))) &&
           SUCCEEDED(track->SrcAdd(source));
    Release(track);
  }
  if (!made) {
    Release(source);
    return 0;
  }

  m_sources.push_back({*src, src->file_name, m_sourceCount, source, src->timeline_start, src->timeline_stop});
  ++m_sourceCount;
  TimelineChanged();
  return 1;
}

void CProject::TimelineChanged() {
  m_reconnect = 1;
  m_duration = 0;
  ReleaseGraphInterfaces();
}

void CProject::Renumber() {
  int index = 0;
  for (CSourceNode& node : m_sources) node.index = index++;
}

std::list<CProject::CSourceNode>::iterator CProject::Find(int index) {
  for (auto it = m_sources.begin(); it != m_sources.end(); ++it)
    if (it->index == index) return it;
  return m_sources.end();
}

int CProject::DeleteSource(int index) {
  const CCall call(*this);
  if (!call) return 0;
  return RemoveSource(Find(index));
}

int CProject::DeleteSource(const mpeg_src_s* src) {
  const CCall call(*this);
  if (!src || !call) return 0;
  auto it = m_sources.begin();
  while (it != m_sources.end() && !SameRecord(it->src, *src)) ++it;
  return RemoveSource(it);
}

int CProject::RemoveSource(std::list<CSourceNode>::iterator node) {
  if (node == m_sources.end()) {
    m_reconnect = 1;
    m_duration = 0;
    return 0;
  }
  // The timeline changes only under a stopped graph, as adding does.
  if (m_graphMode == kSaving || m_playState != kStopped) return 0;
  node->clip->RemoveAll();
  Release(node->clip);
  m_sources.erase(node);
  if (m_sourceCount > 0) --m_sourceCount;
  Renumber();
  TimelineChanged();
  return 1;
}

int CProject::MoveTo(int index, int offset) {
  const CCall call(*this);
  if (!call) return 0;
  auto it = Find(index);
  if (it == m_sources.end()) return 0;
  if (offset == 0) return 1;
  const long long target = static_cast<long long>(index) + offset;  // any two ints add up
  if (target < 0 || target > m_sourceCount - 1) return 0;
  if (m_graphMode == kSaving || m_playState != kStopped) return 0;
  // Each step trades clips with the neighbour: the clip travels, the others shift by one.
  for (int step = 0; step < (offset > 0 ? offset : -offset); ++step) {
    auto neighbour = offset > 0 ? std::next(it) : std::prev(it);
    std::swap(it->src, neighbour->src);
    std::swap(it->file, neighbour->file);
    std::swap(it->clip, neighbour->clip);
    std::swap(it->start, neighbour->start);
    std::swap(it->stop, neighbour->stop);
    if (offset > 0) {
      PlaceInOrder(*it, *neighbour);
    } else {
      PlaceInOrder(*neighbour, *it);
    }
    it = neighbour;
  }
  TimelineChanged();
  return 1;
}

void CProject::PlaceInOrder(CSourceNode& first, CSourceNode& second) {
  if (TrackOf(first.src) == kNoTrack || TrackOf(first.src) != TrackOf(second.src)) return;
  // The pair keeps the stretch it covered (gap or overlap included); the first plays first.
  const REFERENCE_TIME from = std::min(first.start, second.start);
  const REFERENCE_TIME to = std::max(first.stop, second.stop);
  const REFERENCE_TIME firstLength = first.stop - first.start;
  const REFERENCE_TIME secondLength = second.stop - second.start;
  first.start = from;
  first.stop = from + firstLength;
  second.start = to - secondLength;
  second.stop = to;
  first.clip->SetStartStop(first.start, first.stop);
  second.clip->SetStartStop(second.start, second.stop);
}

int CProject::MoveNextTo(int index, int other, int before) {
  const CCall call(*this);
  if (!call) return 0;
  if (index == other) return 1;
  if (Find(index) == m_sources.end() || Find(other) == m_sources.end()) return 0;
  const bool after = other > index;
  const int offset = before ? (after ? other - index - 1 : other - index) : (after ? other - index : other - index + 1);
  return MoveTo(index, offset);
}

// ---- the graph

bool CProject::MakeRenderEngine() {
  Release(m_renderEngine);
  HRESULT hr = CoCreateInstance(CLSID_RenderEngine, NULL, CLSCTX_INPROC_SERVER, IID_IRenderEngine,
                                reinterpret_cast<void**>(&m_renderEngine));
  _ASSERTE(!FAILED( hr ));
  if (FAILED(hr) || !MakeTimeline()) return false;
  return SUCCEEDED(m_renderEngine->SetTimelineObject(pTL));
}

bool CProject::TakeGraphInterfaces() {
  if (!m_graph) return false;
  ReleaseGraphInterfaces();
  bool all = SUCCEEDED(m_graph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_event)));
  all = SUCCEEDED(m_graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_control))) && all;
  all = SUCCEEDED(m_graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&pMS))) && all;
  all = SUCCEEDED(m_graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m_videoWindow))) && all;
  return all;
}

void CProject::ReleaseGraphInterfaces() {
  Release(m_event);
  Release(m_control);
  Release(pMS);
  Release(m_videoWindow);
}

void CProject::ReleaseGraph() {
  RevokeGraph();
  ReleaseGraphInterfaces();
  Release(m_graph);
  if (m_renderEngine) m_renderEngine->ScrapIt();
  Release(m_renderEngine);
}

bool CProject::ReadDuration() {
  if (m_duration != 0) return true;
  if (!pMS || FAILED(pMS->GetDuration(&m_duration))) {
    m_duration = 0;
    return false;
  }
  return true;
}

void CProject::RegisterGraph() {
  // Only the newest registration is held: an older one would keep its graph alive.
  RevokeGraph();
  IRunningObjectTable* rot = nullptr;
  IMoniker* moniker = nullptr;
  if (FAILED(GetRunningObjectTable(0, &rot))) return;
  WCHAR item[128];
  swprintf(item, 128, L"FilterGraph %08x pid %08x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(m_graph)),
           static_cast<unsigned>(GetCurrentProcessId()));
  if (SUCCEEDED(CreateItemMoniker(L"!", item, &moniker)) &&
      FAILED(rot->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, m_graph, moniker, &m_rotCookie)))
    m_rotCookie = 0;
  Release(moniker);
  Release(rot);
}

void CProject::RevokeGraph() {
  if (m_rotCookie == 0) return;
  IRunningObjectTable* rot = nullptr;
  if (SUCCEEDED(GetRunningObjectTable(0, &rot))) {
    rot->Revoke(m_rotCookie);
    rot->Release();
  }
  m_rotCookie = 0;
}

int CProject::Preview(HWND window) {
  const CCall call(*this);
  // A save's graph is never taken over.
  if (!call || m_sourceCount == 0 || m_graphMode == kSaving) return 0;
  if (!m_renderEngine) {
    if (!MakeRenderEngine()) return 0;
    if (m_reconnect) {
      if (FAILED(m_renderEngine->ConnectFrontEnd()) || FAILED(m_renderEngine->RenderOutputPins())) return 0;
      m_reconnect = 0;
    }
    Release(m_graph);
    if (FAILED(m_renderEngine->GetFilterGraph(&m_graph)) || !m_graph) return 0;
  }
  if (m_playState == kRunning) return 1;
  if (!m_renderEngine) return 0;
  if (m_reconnect) {
    if (m_renderEngine->ConnectFrontEnd() == S_WARN_OUTPUTRESET && FAILED(m_renderEngine->RenderOutputPins())) return 0;
    m_reconnect = 0;
  }
  if (!TakeGraphInterfaces()) return 0;
  if (!ReadDuration()) return 0;
  if (m_notifyWnd) {
    HRESULT hr = m_event->SetNotifyWindow(reinterpret_cast<OAHWND>(m_notifyWnd), UM_PROJECT_GRAPH_EVENT, 0);
    _ASSERTE(!FAILED(hr));
  }
  if (window) {
    HWND hwnd = window;
    _preview_hwnd = hwnd;
    _ASSERTE(::IsWindow (hwnd));
    m_videoWindow->put_Owner(reinterpret_cast<OAHWND>(hwnd));
    if (FAILED(m_videoWindow->put_WindowStyle(kChildVideoStyle))) return 0;
    RECT client{};
    GetClientRect(hwnd, &client);
    m_videoWindow->put_Left(client.left);
    m_videoWindow->put_Top(client.top);
    m_videoWindow->put_Width(client.right - client.left);
    m_videoWindow->put_Height(client.bottom - client.top);
  }
  RegisterGraph();
  if (FAILED(m_control->Run())) {
    ReleaseGraphInterfaces();
    return 0;
  }
  m_graphMode = kPreviewing;
  m_playState = kRunning;
  return 1;
}

int CProject::Pause() {
  const CCall call(*this);
  if (!call || m_graphMode == kSaving || !m_control || FAILED(m_control->Pause())) return 0;
  m_playState = kPaused;
  return 1;
}

int CProject::Stop() {
  const CCall call(*this);
  return call ? StopGraph() : 0;
}

int CProject::StopGraph() {
  if (m_graphMode == kSaving || !m_control || FAILED(m_control->Stop())) return 0;
  m_playState = kStopped;
  m_graphMode = kIdle;
  m_reconnect = 1;
  return 1;
}

int CProject::MoveToFrame(int percent) {
  const CCall call(*this);
  if (!call || percent < 0 || percent > 100 || !pMS) return 0;
  if (!ReadDuration()) return 0;
  // Multiplied first, through a wider product: a timeline of centuries still has its percents.
  const LONGLONG target = llMulDiv(m_duration, percent, 100, 0);
  if (m_graphMode == kSaving) return 0;
  if (m_renderEngine) {
    if (FAILED(m_renderEngine->ConnectFrontEnd()) || FAILED(m_renderEngine->RenderOutputPins())) return 0;
    m_reconnect = 0;
  }
  LONGLONG current = target;
  const bool sought = SUCCEEDED(pMS->SetPositions(&current, AM_SEEKING_AbsolutePositioning, NULL, AM_SEEKING_NoPositioning));
  const bool paused = !m_control || Pause() == 1;
  return sought && paused ? 1 : 0;
}

int CProject::HandleGraphEvent(int rewind) {
  const CCall call(*this);
  if (!call || !m_event) return 0;
  long code = 0;
  do {
    LONG_PTR first = 0;
    LONG_PTR second = 0;
    if (FAILED(m_event->GetEvent(&code, &first, &second, 0))) return 0;
    m_event->FreeEventParams(code, first, second);
  } while (code != EC_COMPLETE);
  if (!rewind) {
    m_reconnect = 1;
  } else if (MoveToFrame(0) != 1) {
    return 0;
  }
  // The state says stopped: the graph is made to be so, or an edit would change it under a paused graph.
  if (m_control) m_control->Stop();
  m_playState = kStopped;
  return 1;
}

int CProject::PreviewProgress(double* ratio) {
  const CCall call(*this);
  if (!call || !ratio || m_graphMode != kPreviewing || !pMS || !ReadDuration() || m_duration <= 0) return 0;
  LONGLONG current = 0;
  if (FAILED(pMS->GetPositions(&current, NULL))) return 0;
  *ratio = static_cast<double>(current) / static_cast<double>(m_duration);
  return 1;
}

int CProject::SaveProgress(double* ratio) {
  // Asked from outside the saving thread, so nothing the save changes is read: only what it
  // published. The graph's own position stands still in a save, which runs on no clock;
  // the group outputs tell how far the stream has got, the slowest of them how far the file.
  std::lock_guard guard(m_progressLock);
  if (!ratio || m_saveSeekers.empty()) return 0;
  LONGLONG duration = 0;
  if (FAILED(m_saveSeekers.front()->GetDuration(&duration)) || duration <= 0) return 0;
  LONGLONG current = duration;
  for (IMediaSeeking* seeking : m_saveSeekers) {
    LONGLONG reached = 0;
    if (FAILED(seeking->GetCurrentPosition(&reached))) return 0;
    current = std::min(current, reached);
  }
  *ratio = static_cast<double>(current) / static_cast<double>(duration);
  return 1;
}

int CProject::AutoSizeVideo() {
  const CCall call(*this);
  if (!call || m_graphMode != kPreviewing || !m_videoWindow || !_preview_hwnd) return 0;
  _ASSERTE(::IsWindow (_preview_hwnd));
  RECT client{};
  GetClientRect(_preview_hwnd, &client);
  return SUCCEEDED(m_videoWindow->SetWindowPosition(client.left, client.top, client.right - client.left,
                                                    client.bottom - client.top))
             ? 1
             : 0;
}

// ---- saving

IPin* CProject::GroupPin(const GUID& major) {
  long groups = 0;
  if (!pTL || FAILED(pTL->GetGroupCount(&groups))) return nullptr;
  for (long i = 0; i < groups; ++i) {
    IAMTimelineObj* group = nullptr;
    IAMTimelineGroup* asGroup = nullptr;
    AM_MEDIA_TYPE type{};
    const bool found = SUCCEEDED(pTL->GetGroup(&group, i)) &&
                       SUCCEEDED(group->QueryInterface(IID_IAMTimelineGroup, reinterpret_cast<void**>(&asGroup))) &&
                       SUCCEEDED(asGroup->GetMediaType(&type)) && type.majortype == major;
    Release(asGroup);
    Release(group);
    if (!found) continue;
    // A group without clips (none added, or all deleted) has nothing to write.
    if (!TrackHasClips(major == MEDIATYPE_Video ? m_videoTrack : m_audioTrack)) return nullptr;
    IPin* pin = nullptr;
    return m_renderEngine->GetGroupOutputPin(i, &pin) == S_OK ? pin : nullptr;
  }
  return nullptr;
}

bool CProject::TrackHasClips(IAMTimelineObj* track) {
  IAMTimelineTrack* asTrack = nullptr;
  long clips = 0;
  const bool any = track && SUCCEEDED(track->QueryInterface(IID_IAMTimelineTrack, reinterpret_cast<void**>(&asTrack))) &&
                   SUCCEEDED(asTrack->GetSourcesCount(&clips)) && clips > 0;
  Release(asTrack);
  return any;
}

bool CProject::AddToGraphForAvi(const save_option_s& options, const char* file) {
  ICaptureGraphBuilder2* builder = nullptr;
  IBaseFilter* mux = nullptr;
  WCHAR wide[MAX_PATH + 8] = {};
  bool ok = MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH + 8) != 0 &&
            SUCCEEDED(CoCreateInstance(CLSID_CaptureGraphBuilder2, NULL, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                                       reinterpret_cast<void**>(&builder))) &&
            SUCCEEDED(builder->SetFiltergraph(m_graph)) &&
            SUCCEEDED(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, wide, &mux, NULL));
  const GUID* majors[] = {&MEDIATYPE_Video, &MEDIATYPE_Audio};
  IBaseFilter* compressors[] = {options.video_compressor, options.audio_compressor};
  const wchar_t* names[] = {L"Video Compressor", L"Audio Compressor"};
  for (int group = 0; ok && group < 2; ++group) {
    IPin* pin = GroupPin(*majors[group]);
    if (!pin) continue;
    IBaseFilter* compressor = compressors[group];
    bool rendered = false;
    if (compressor) {
      compressor->AddRef();  // ours while the graph uses it
      ok = SUCCEEDED(m_graph->AddFilter(compressor, names[group]));
      rendered = ok && SUCCEEDED(builder->RenderStream(NULL, NULL, pin, compressor, mux));
      if (ok && !rendered) {
        // A compressor that cannot take the stream is taken out, half-made links and all.
        m_graph->RemoveFilter(compressor);
        m_graph->Disconnect(pin);
      }
      compressor->Release();
    }
    if (ok && !rendered) ok = SUCCEEDED(builder->RenderStream(NULL, NULL, pin, NULL, mux));
    pin->Release();
  }
  Release(mux);
  Release(builder);
  return ok;
}

bool CProject::AddToGraphForMpeg(const save_option_s& options, const char* file) {
  CMpegEncoder encoder;
  const int preset = options.output_type == kOutputMpeg1 ? 0 : 4;
  if (!encoder.SetOutputFile(file) || !encoder.ApplyPreset(preset, 3) || !encoder.ApplySettings()) return false;
  IPin* video = GroupPin(MEDIATYPE_Video);
  IPin* audio = GroupPin(MEDIATYPE_Audio);
  const bool ok = (video || audio) && encoder.ConnectToGraph(m_graph, video, audio);
  Release(video);
  Release(audio);
  return ok;
}

bool CProject::RunToCompletion(const char* file) {
  if (!TakeGraphInterfaces()) return false;
  RegisterGraph();
  if (FAILED(m_control->Run())) return false;
  // A filter that takes samples and passes nothing on, without an error, would keep the
  // graph from ever completing: the file's growth is watched, and a graph that writes
  // nothing for a long while is given up on.
  long code = 0;
  ULONGLONG written = FileBytes(file);
  DWORD lastGrowth = GetTickCount();
  while (m_event->WaitForCompletion(kProgressCheckMs, &code) == E_ABORT) {
    const ULONGLONG now = FileBytes(file);
    if (now != written) {
      written = now;
      lastGrowth = GetTickCount();
    } else if (GetTickCount() - lastGrowth >= kMostStallMs) {
      code = 0;
      break;
    }
  }
  m_control->Stop();
  RevokeGraph();
  return code == EC_COMPLETE;
}

void CProject::PublishSaveProgress() {
  std::vector<IMediaSeeking*> seekers;
  for (const GUID* major : {&MEDIATYPE_Video, &MEDIATYPE_Audio}) {
    IPin* pin = GroupPin(*major);
    IMediaSeeking* seeking = nullptr;
    if (pin && SUCCEEDED(pin->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking))))
      seekers.push_back(seeking);
    Release(pin);
  }
  std::lock_guard guard(m_progressLock);
  m_saveSeekers = std::move(seekers);
}

void CProject::WithdrawSaveProgress() {
  std::vector<IMediaSeeking*> seekers;
  {
    std::lock_guard guard(m_progressLock);
    seekers.swap(m_saveSeekers);
  }
  for (IMediaSeeking* seeking : seekers) seeking->Release();
}

int CProject::Save(const save_option_s* options) {
  if (!options) return 0;
  // One save at a time, from whichever thread: another is answered as the one under way.
  if (m_saving.exchange(true)) return 1;
  const int type = options->output_type;
  char file[sizeof(options->output_file)] = {};
  std::memcpy(file, options->output_file, sizeof(file) - 1);
  EnterCriticalSection(&m_lock);
  // A type that writes nothing, an empty name or an empty project cannot be saved.
  const bool valid = (type == kOutputMpeg1 || type == kOutputMpeg2 || type == kOutputAvi) && file[0] && m_sourceCount > 0;
  const bool saved = valid && Render(*options, file);
  m_saving = false;
  LeaveCriticalSection(&m_lock);
  return saved ? 1 : 0;
}

bool CProject::Render(const save_option_s& options, const char* file) {
  char part[sizeof(options.output_file) + 16] = {};
  std::snprintf(part, sizeof(part), "%s%s", file, kPartSuffix);
  if (m_graphMode == kPreviewing && m_playState != kStopped && StopGraph() != 1) return false;
  bool ok = MakeRenderEngine();
  _ASSERTE(pTL != NULL);
  ok = ok && SUCCEEDED(m_renderEngine->ConnectFrontEnd());
  m_reconnect = 1;
  Release(m_graph);
  if (ok) {
    HRESULT hr = m_renderEngine->GetFilterGraph(&m_graph);
    _ASSERTE(!FAILED(hr));
    ok = SUCCEEDED(hr) && m_graph;
  }
  m_graphMode = kSaving;
  m_duration = 0;
  DeleteFileA(part);
  if (ok) ok = options.output_type == kOutputAvi ? AddToGraphForAvi(options, part) : AddToGraphForMpeg(options, part);
  if (ok) PublishSaveProgress();
  ok = ok && RunToCompletion(part);
  WithdrawSaveProgress();
  m_graphMode = kIdle;
  m_playState = kStopped;
  ReleaseGraph();
  m_duration = 0;
  // The file appears under its name only when it is whole.
  if (ok) ok = MoveFileExA(part, file, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  if (!ok) DeleteFileA(part);
  return ok;
}
