// One media file played in a window of the media player: a graph of its own built by the
// graph manager from the file, with the maker's MPEG video decoder and the MPEG-2
// splitter put in first so the build prefers them. Play, pause, ten-second steps, seeking
// by percent, progress, end of file and the video window's place. The controller makes
// one object per file and deletes it once playback is closed; the graph is made once per
// object. Used from the UI thread only.
#pragma once

#include "graphs/CGraphBase.h"  // UM_GRAPH_EVENT
#include "graphs/GraphUtilities.h"

#include <dshow/dshow.h>
#include <mfc/afx.h>
#include <win32/user.h>

class CMpeg2SplitterFilter;
class CMpegVideoDecoderFilter;

class CPlaybackGraph {
 public:
  // Sent to the application's main window around the open-file dialog of PlayFile,
  // however the dialog ends.
  static constexpr UINT UM_FILE_DIALOG_OPENING = 0x779;
  static constexpr UINT UM_FILE_DIALOG_CLOSED = 0x784;

  // Results of OpenAndPlay and PlayFile.
  enum Result : int {
    kPlaying = 0,
    kRateFailed = -1,
    kRunFailed = -2,
    kCancelled = -3,
    kRenderFailed = -4,
    kBadArgument = -7,
    kNoGraph = -9,
  };

  CPlaybackGraph() = default;
  virtual ~CPlaybackGraph();
  CPlaybackGraph(const CPlaybackGraph&) = delete;
  CPlaybackGraph& operator=(const CPlaybackGraph&) = delete;

  // A new graph with the decoders made available; false when a graph is already held.
  virtual BOOL Create();
  virtual void ReleaseAll();
  // An existing graph (a reference of its own); null leaves the object empty and is true.
  virtual BOOL Attach(IGraphBuilder* graph);

  BOOL QueryInterfaces();
  void EnsureVideoDecoder();
  BOOL EnsureAudioDecoder();

  // Plays the file in the window, or resumes a paused file (whatever the path).
  int OpenAndPlay(HWND owner, LPCSTR path);
  // The same with the file asked of the user in the open-file dialog; a paused file
  // resumes without asking.
  int PlayFile(HWND owner);
  // The open-file dialog for MPEG, AVI, MP3 and WAV files; the chosen full path into
  // `path`, false when the user cancelled.
  static BOOL ChooseMediaFile(CString& path);
  BOOL Pause();
  // Stops and forgets the file; the graph stays until ReleaseAll.
  BOOL Close();
  BOOL CloseAndRelease();
  BOOL Run();
  BOOL Stop();

  // Ten seconds on or back while playing, kept inside the file.
  BOOL Forward();
  BOOL Backward();
  BOOL SeekPercent(int percent);
  // 0..100; 0 while the position or the duration is unknown.
  int GetPositionPercent();
  BOOL GetCurrentPosition(double* seconds);
  BOOL GetDuration(double* seconds);
  BOOL SetCurrentPosition(double seconds);
  BOOL SetRate(double rate);

  // The video fills the window's client area; null detaches it, hidden.
  BOOL SetVideoWindow(HWND window);
  BOOL PlaceVideoWindow(long left, long top, long width, long height);
  void SetFullScreen(long value);
  BOOL SetNotifyWindow(HWND window);
  IMediaEventEx* GetEventInterface() const { return m_pEvents; }
  // Takes queued events up to the first end of stream; later ones stay queued.
  BOOL IsComplete();

  BOOL IsClosed() const { return m_state == kClosed; }
  BOOL IsPlaying() const { return m_state == kStatePlaying; }
  BOOL IsPaused() const { return m_state == kStatePaused; }

  IGraphBuilder* GetGraph() const { return m_pGraph; }
  CMpegVideoDecoderFilter* GetVideoDecoder() const { return m_pVideoDecoder; }
  CMpeg2SplitterFilter* GetSplitter() const { return m_pSplitter; }

 private:
  enum State : LONG { kClosed = -1, kStatePlaying = 0, kStatePaused = 3 };

  GraphControlFields Controls();
  BOOL ReportsState(OAFilterState wanted);
  int Resume();
  // The start of a new file, from a closed or playing object.
  int StartFile(HWND owner, LPCSTR path);
  BOOL RenderFile(LPCSTR path);
  void DeleteWrappers();

  IGraphBuilder* m_pGraph = nullptr;
  IMediaControl* m_pControl = nullptr;
  IMediaEventEx* m_pEvents = nullptr;
  IBasicVideo* m_pBasicVideo = nullptr;
  IBasicAudio* m_pBasicAudio = nullptr;
  IMediaSeeking* m_pSeeking = nullptr;
  IVideoWindow* m_pVideoWindow = nullptr;
  HWND m_hOwner = nullptr;
  CMpegVideoDecoderFilter* m_pVideoDecoder = nullptr;
  CMpeg2SplitterFilter* m_pSplitter = nullptr;
  double m_duration = 0.0;
  LONG m_state = kClosed;
};
