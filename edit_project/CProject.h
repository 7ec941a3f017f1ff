// The editing project: the clips in the order they were added, the Editing Services
// timeline they are built into (one video group and one audio group, one track each,
// made on first need), and the render engine's graph that previews the timeline in the
// host's window or renders it to a file.
//
// The exports run on the host's user-interface thread, but a save may be made from
// another one, and its progress is asked for from outside it. So the lock is held by a
// save for its whole length and by every other export that touches the clips, the
// timeline or the graph for its own; such an export made while a save runs on another
// thread is refused at once instead of waiting for the save (a second save returns 1, as
// one already under way). Save progress is read from what the save publishes under a lock
// of its own. The graph's streaming threads reach the host only through the event
// message posted to the notify window.
#pragma once

#include "Project.h"

#include <dshow/dshow.h>
#include <dshow/qedit.h>
#include <win32/sync.h>

#include <atomic>
#include <list>
#include <mutex>
#include <string>
#include <vector>

class CProject {
 public:
  enum GraphMode { kIdle = 0, kPreviewing = 2, kSaving = 3 };
  enum PlayState { kRunning = 0, kPaused = 1, kStopped = 2 };

  CProject();
  ~CProject();
  CProject(const CProject&) = delete;
  CProject& operator=(const CProject&) = delete;

  void SetNotifyWnd(HWND window) { m_notifyWnd = window; }
  int AddSource(const mpeg_src_s* src);
  int DeleteSource(int index);
  int DeleteSource(const mpeg_src_s* src);
  int MoveTo(int index, int offset);
  int MoveNextTo(int index, int other, int before);
  int HasSource() const { return m_sourceCount > 0 ? 1 : 0; }

  int Preview(HWND window);
  int Pause();
  int Stop();
  int MoveToFrame(int percent);
  int HandleGraphEvent(int rewind);
  int PreviewProgress(double* ratio);
  int SaveProgress(double* ratio);
  int AutoSizeVideo();

  int Save(const save_option_s* options);

 private:
  // One clip: the record as the host passed it, which the host may name again to delete
  // it, and the clip in the timeline, which a move places elsewhere.
  struct CSourceNode {
    mpeg_src_s src;
    std::string file;  // the name as it was when the clip was added
    int index;
    IAMTimelineObj* clip;  // held; on the record's track, or on none
    REFERENCE_TIME start;  // where the timeline plays it
    REFERENCE_TIME stop;
  };
  // An export's hold on the project: the lock for the call, or none (refused) while a
  // save runs on another thread.
  class CCall {
   public:
    explicit CCall(CProject& project);
    ~CCall();
    CCall(const CCall&) = delete;
    CCall& operator=(const CCall&) = delete;
    explicit operator bool() const { return m_held; }

   private:
    CProject& m_project;
    bool m_held;
  };

  // Timeline, groups and tracks, each made when missing.
  bool MakeTimeline();
  bool MakeGroup(IAMTimelineObj*& group, const GUID& major, int& madeFlag);
  bool MakeTrack(IAMTimelineObj*& track, IAMTimelineObj*& group, const GUID& major, int& madeFlag);
  bool MakeRenderEngine();
  bool TakeGraphInterfaces();
  void ReleaseGraphInterfaces();
  void ReleaseGraph();
  bool ReadDuration();
  void RegisterGraph();
  void RevokeGraph();
  void Renumber();
  std::list<CSourceNode>::iterator Find(int index);
  // The clips changed: the front end is connected again and the duration read again.
  void TimelineChanged();
  int RemoveSource(std::list<CSourceNode>::iterator node);
  // The two neighbours `first` and `second` (in list order) traded places in the list:
  // on one track they trade places on the timeline too, in the stretch they covered.
  void PlaceInOrder(CSourceNode& first, CSourceNode& second);
  int StopGraph();
  // Renders the timeline into `file` under the lock; false on any failure.
  bool Render(const save_option_s& options, const char* file);
  // What a save's progress is read from, published for other threads while it runs.
  void PublishSaveProgress();
  void WithdrawSaveProgress();
  // The render engine's output pin of the group of this media type, or null.
  IPin* GroupPin(const GUID& major);
  bool TrackHasClips(IAMTimelineObj* track);
  bool AddToGraphForAvi(const save_option_s& options, const char* file);
  bool AddToGraphForMpeg(const save_option_s& options, const char* file);
  // Runs the save graph to its end; true only when the whole timeline was written, false
  // too when the graph stops writing `file` for good.
  bool RunToCompletion(const char* file);

  int m_sourceCount = 0;
  int m_videoGroupMade = 0;
  int m_audioGroupMade = 0;
  int m_reconnect = 1;
  std::list<CSourceNode> m_sources;
  LONGLONG m_duration = 0;
  int m_playState = kStopped;
  int m_graphMode = kIdle;
  HWND _preview_hwnd = nullptr;
  HWND m_notifyWnd = nullptr;
  DWORD m_rotCookie = 0;
  CRITICAL_SECTION m_lock;
  std::atomic<bool> m_saving{false};  // claimed by a save before it takes the lock
  std::mutex m_progressLock;
  std::vector<IMediaSeeking*> m_saveSeekers;  // the group outputs while a save runs
  IAMTimeline* pTL = nullptr;
  IAMTimelineObj* m_videoGroup = nullptr;
  IAMTimelineObj* m_audioGroup = nullptr;
  IAMTimelineObj* m_videoTrack = nullptr;
  IAMTimelineObj* m_audioTrack = nullptr;
  IRenderEngine* m_renderEngine = nullptr;
  IGraphBuilder* m_graph = nullptr;
  IMediaControl* m_control = nullptr;
  IMediaSeeking* pMS = nullptr;
  IVideoWindow* m_videoWindow = nullptr;
  IMediaEventEx* m_event = nullptr;
};
