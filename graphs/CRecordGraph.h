// The live graph used while recording: it shows the live picture as the preview graph
// does and at the same time feeds the capture device's video and sound into the MPEG
// recorder, which writes the file. Two fan-out tees split the streams: the video tee
// after the device's capture pin (recorder and picture chain), the audio tee after the
// device's sound (recorder and audio renderer).
//
// The controller creates it in place of the preview graph, gives it the record folder,
// format and quality (SetRecordFile), builds and runs it (ApplyTvSettings), reads the
// counter and the size estimate while it records, and deletes it to stop recording.
#pragma once

#include "graphs/CCaptureGraph.h"

class CFanoutTeeFilter;
class CMpegRecorderFilter;

class CRecordGraph : public CCaptureGraph {
 public:
  CRecordGraph();
  ~CRecordGraph() override;

  // The recorder's running value; 0 for record format 8, without a recorder or on failure.
  int GetRecordCounter() override;
  void SetRecordFile(const CString& folder, int format, int quality) override;
  // Megabytes the recording will take in that time; 0.0 for record format 8 or without a
  // recorder.
  double GetRecordSizeKB(int seconds) override;
  // YUY2 at the size on the capture pin, 25 frames a second or 29.97 for NTSC; true once
  // a video format could be read, whether the device takes the new one or not.
  BOOL SetCaptureFormat(int width, int height) override;
  // The recording caption on the overlay; false without one.
  BOOL ShowOverlay(LONG_PTR contentA, LONG_PTR contentB, int x, int y, const LOGFONTA& font) override;
  // The base's video chain, then the two tees and the recorder.
  BOOL BuildVideoChain() override;
  void DeleteFilters() override;
  // False, leaving `name` empty, before the graph has been built.
  BOOL GetRecordFileName(CString& name) override;
  // The recorder configured, then the video, the sound and the picture connected.
  BOOL ConnectGraph() override;
  // The capture device named by the settings.
  BOOL CreateDeviceFilters() override;
  // True when the device delivers its own sound; else the settings' audio device, on the
  // Windows versions that record from one.
  BOOL PrepareDevice() override;
  BOOL SelectAudioLine() override;

 private:
  // Adds the recorder, registering its module once when it cannot be made.
  BOOL AddRecorder();
  BOOL ConnectVideoToRecorder();
  BOOL ConnectAudio();
  BOOL ConnectDeviceAudio(IPin* audioOut);
  BOOL ConnectAudioDevice();
  BOOL ConnectPicture();
  // The picture path from the invert filter to a renderer, with the preview's fallbacks.
  BOOL ConnectRenderer();
  BOOL ConnectThroughOverlayMixer();
  BOOL ConnectWithoutOverlayMixer();
  // Output 0 of `from` to input 0 of `to`; a wrapper that is missing changes nothing.
  BOOL Link(CFilterWrapper* from, CFilterWrapper* to);
  // The graph completes the stream from the wrapper's first output; true only for S_OK.
  BOOL RenderFrom(CFilterWrapper* from);
  void RemoveAfterInvert();
  // The tee's free output to `input`, directly; the result of ConnectDirect.
  HRESULT ConnectTeeOutput(CFanoutTeeFilter* tee, IPin* input);
  static bool RecordFormatIsOff();

  int m_recordQuality;
  int m_recordFormat;
  CString m_recordFolder;
  CString m_recordFileName;
  CMpegRecorderFilter* m_pRecorder;
  CFanoutTeeFilter* m_pVideoTee;
  CFanoutTeeFilter* m_pAudioTee;
};
