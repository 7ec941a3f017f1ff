// The editing project: the clips in the order they were added, the Editing Services
// timeline they are built into (one video group and one audio group, one track each,
// made on first need), and the render engine's graph that previews the timeline in the
// host's window or renders it to a file.
//
// Every export runs on the host's user-interface thread. The lock is held only by a save,
// for its whole length; the graph's streaming threads reach the host only through the
// event message posted to the notify window.
#pragma once

#include "Project.h"

#include <dshow/dshow.h>
#include <dshow/qedit.h>
#include <win32/sync.h>

#include <list>
#include <string>

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
  struct CSourceNode {
    mpeg_src_s src;
    std::string file;  // the name as it was when the clip was added
    int index;
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
  // The render engine's output pin of the group of this media type, or null.
  IPin* GroupPin(const GUID& major);
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
