// One filter graph with the control interfaces the program uses on it: run state, events
// to a window, the video window, seeking in seconds, and a running object table entry so
// a graph viewer can attach. The live graphs and the file frame grabber each own one and
// add every filter to it through the filter wrappers. Used from the UI thread only.
#pragma once

#include "graphs/GraphUtilities.h"

#include <dshow/dshow.h>
#include <win32/user.h>

// Posted to the window given to SetNotifyWindow for every graph event queued.
#define UM_GRAPH_EVENT (WM_USER + 40)

class CGraphBase {
 public:
  CGraphBase() = default;
  virtual ~CGraphBase();
  CGraphBase(const CGraphBase&) = delete;
  CGraphBase& operator=(const CGraphBase&) = delete;

  // A new graph manager, registered; false when a graph is already held.
  virtual BOOL Create();
  virtual void ReleaseAll();
  // An existing graph (a reference of its own); null leaves the object empty and is true.
  virtual BOOL Attach(IGraphBuilder* graph);

  BOOL QueryInterfaces();

  IGraphBuilder* GetGraph() const { return m_pGraph; }
  IMediaEventEx* GetEventInterface() const { return m_pEvents; }
  BOOL SetNotifyWindow(HWND window);
  BOOL RenderFile(LPCSTR path);
  BOOL ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type);
  void Disconnect(IPin* pin);
  BOOL SyncUsingStreamOffset();
  BOOL SetSyncSource(IBaseFilter* filter);
  BOOL SetDefaultSyncSource();

  // The run state is this object's record of its last successful call, not the graph's.
  BOOL Run();
  BOOL Pause();
  BOOL Stop();
  BOOL IsRunning() const { return m_runState == kRunning; }
  BOOL IsPaused() const { return m_runState == kPaused; }
  BOOL IsStopped() const { return m_runState == kStopped; }

  // Each false (and does nothing) without the video window interface.
  BOOL SetOwnerWindow(HWND window);
  BOOL PlaceVideoWindow(HWND window, long left, long top, long width, long height);
  BOOL ParkVideoWindow();
  BOOL SetFullScreen(BOOL on, HWND window);
  BOOL IsFullScreen();
  BOOL MoveAndShow(long left, long top, long width, long height);
  BOOL ResizeToOwner();
  BOOL SetVideoPosition(long left, long top, long width, long height);
  BOOL NotifyOwnerMessage(HWND window, long message, LONG_PTR wParam, LONG_PTR lParam);

  // Times in seconds; each false without the seeking interface.
  BOOL GetCurrentPosition(double* seconds);
  BOOL GetStopPosition(double* seconds);
  BOOL GetDuration(double* seconds);
  BOOL SetCurrentPosition(double seconds);
  BOOL SetPositions(double start, double stop);
  BOOL SetRate(double rate);

 private:
  enum RunState : LONG { kStopped = 0, kPaused = 1, kRunning = 2 };
  static constexpr long kChildStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

  GraphControlFields Controls();
  void AddToRot();
  void RemoveFromRot();
  BOOL ChangeState(RunState target, HRESULT (STDMETHODCALLTYPE IMediaControl::*change)());

  IGraphBuilder* m_pGraph = nullptr;
  IMediaControl* m_pControl = nullptr;
  IMediaEventEx* m_pEvents = nullptr;
  IBasicVideo* m_pBasicVideo = nullptr;
  IBasicAudio* m_pBasicAudio = nullptr;
  IVideoWindow* m_pVideoWindow = nullptr;
  IMediaSeeking* m_pSeeking = nullptr;
  IAMGraphStreams* m_pGraphStreams = nullptr;
  DWORD m_rotCookie = 0;
  HWND m_hOwner = nullptr;
  LONG m_runState = kStopped;
};
