// The live picture of the USB TV device: the graph the controller builds for the TV,
// Composite and S-Video views and keeps running while the user watches. The capture
// graph's ApplyTvSettings builds and runs it; what the preview adds comes through the
// overridden operations: the capture device and its sound, the image grabber in the
// video path for still pictures, the video path connected filter by filter with its
// renderer fallbacks (the last one lets the graph manager choose), the YUY2 capture
// format at the frame rate of the standard, the standard of each input, the input switch
// and the restarts at a new size.
//
// RestartAtSize replaces the video path by the device feeding a default renderer at
// 320 x 240; the deinterlacer, overlay and grabber wrappers stay held but out of the
// graph, so no picture is grabbed until the graph is built again.
//
// All calls come from the user-interface thread; the preview takes no lock of its own.
#pragma once

#include "graphs/CCaptureGraph.h"

class CSnapshotGrabber;

class CPreviewGraph : public CCaptureGraph {
 public:
  CPreviewGraph();
  ~CPreviewGraph() override;

  BOOL StopWork() override;
  BOOL ChangeInput(int kind, int width, int height) override;
  BOOL ApplyStandardFromSettings(int ignored) override;
  BYTE* TakeSnapshot() override;
  BOOL GetGrabbedFrameSize() override;
  // A 24-bit bottom-up DIB section of the current frame, owned by the caller; null
  // without a frame.
  HBITMAP GetGrabbedFrameDib() override;
  BOOL RestartAtSize() override;
  // Kind 0 tuner, 1 Composite, 2 S-Video: routes the input, sets its standard, and
  // resizes when the line standard changed.
  BOOL DetectStandard(int kind) override;
  BOOL SetSize(int width, int height) override;
  BOOL SetCaptureFormat(int width, int height) override;
  BOOL RebuildAtSize(int width, int height) override;
  BOOL BuildVideoChain() override;
  BOOL ReAddVideoChain() override;
  void DeleteFilters() override;
  BOOL SaveSnapshot(LPCSTR folder, int extra) override;
  BOOL ConnectGraph() override;
  BOOL ReattachVideoWindow() override;
  BOOL CreateDeviceFilters() override;
  BOOL PrepareDevice() override;
  BOOL SelectAudioLine() override;
  BOOL ConnectAudio(BOOL skipCheck) override;

  int GetFrameWidth() const { return m_frameWidth; }
  int GetFrameHeight() const { return m_frameHeight; }

 protected:
  // Steps after the overlay: the invert filter to whichever renderer takes it.
  BOOL ConnectRenderer();
  BOOL ConnectThroughOverlayMixer();
  BOOL ConnectWithoutOverlayMixer();
  // The graph manager's own renderer for the invert filter's output; true only for S_OK.
  BOOL RenderFromInvert();
  // The first output pin of `from` to the first input pin of `to`; `previous` when
  // either wrapper is missing.
  BOOL Link(CFilterWrapper* from, CFilterWrapper* to, BOOL previous);
  void RemoveDownstreamOf(CFilterWrapper* wrapper);
  // Stop, break the device's connections, reformat and reconnect, then run again.
  BOOL Reconnect(int width, int height, bool refreshDefaultRenderer);
  void ApplyPictureFromSettings();
  BOOL AddGrabber();

  int m_frameHeight;
  int m_frameWidth;
  CSnapshotGrabber* m_pGrabber;
};
