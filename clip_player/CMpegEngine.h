// The clip player's engine: one filter graph playing one media file in the host's
// window, the cut marks, the play state the transport exports keep, and the list of
// captured frames, which owns its bitmap files (deleted when the engine goes). The
// engine has no lock: every export runs on the host's user-interface thread, and
// DirectShow's streaming threads never call back into it.
#pragma once

#include "mpegengine.h"

#include <dshow/dshow.h>

#include <list>
#include <string>

class CMpegEngine {
 public:
  enum PlayState { kNone = -1, kRunning = 0, kPaused = 1, kStopped = 2 };

  CMpegEngine();
  ~CMpegEngine();
  CMpegEngine(const CMpegEngine&) = delete;
  CMpegEngine& operator=(const CMpegEngine&) = delete;

  int open(const char* file, HWND video);
  int preview(HWND video);
  int pause();
  int stop();
  int moveToFrame(mp_pos_t pos);
  int moveToPercent(int percent);
  int moveToEnd();
  void setCutStartPercent(int percent);
  void setCutEndPercent(int percent);
  void setCutStart(mp_pos_t pos) { m_cutStart = pos; }
  void setCutEnd(mp_pos_t pos) { m_cutEnd = pos; }
  void setSaveStart(int flag) { m_saveStart = flag; }
  int percentToPos(int percent, mp_pos_t* pos);
  int currentProgress(double* ratio);
  int videoAutoSize();
  int capture(const char* path);
  int captureAtPercent(const char* path, int percent);
  int captureAt(const char* path, mp_pos_t pos);
  int captureAndAddToList(const char* path);
  int captureInfo(mp_pos_t cutStart, mp_pos_t cutEnd, mpeg_persist_bitmap_s* info);
  int lastCaptureInfo(mpeg_persist_bitmap_s* info);

 private:
  bool has_video() const { return m_hasFile != 0; }
  bool is_valid_mp_pos_t(mp_pos_t pos);
  // The clip's duration; false when it cannot be read.
  bool duration(mp_pos_t& out);
  // duration × percent / 100; false outside 0..100 or without a duration.
  bool percentPosition(int percent, mp_pos_t& out);
  void releaseInterfaces();
  void closeFile();
  bool queryInterfaces();
  void attachWindow(HWND video);
  // Writes the frame shown now to `path` as a bitmap file; false (and no file) on any failure.
  bool writeCurrentImage(const char* path);
  // A free "cap%ld_%ld.bmp" name in the temporary folder; false when none fits.
  bool makeCaptureName(char (&path)[260]);
  bool accept(const mpeg_persist_bitmap_s& record);

  HWND mpeg_preview_hwnd = nullptr;
  int m_hasFile = 0;
  int m_saveStart = 1;
  int m_playState = kNone;
  int m_captureCount = 0;
  mp_pos_t m_cutStart = -1;
  mp_pos_t m_cutEnd = -1;
  IGraphBuilder* m_graph = nullptr;
  IVideoWindow* pVW = nullptr;
  IMediaSeeking* pMS = nullptr;
  IMediaControl* m_control = nullptr;
  IMediaEvent* m_event = nullptr;
  IBasicVideo* m_basicVideo = nullptr;
  std::list<mpeg_persist_bitmap_s> m_captures;
  bool m_comInitialised = false;
};
