// The MPEG-1/2 recorder of the Filter folder ("Filter\qnmpeg2enc.ax") at the end of the
// record graph. The filter belongs to its maker; this wrapper turns a record format and
// quality into the encoder settings, sends them through the filter's private interfaces
// in a fixed order, names the output file (the next free "capNN.mpg" of the record folder)
// and estimates the size of a recording.
#pragma once

#include "graphs/CFilterWrapper.h"

#include <mfc/CString.h>
#include <mfc/CStringArray.h>
#include <vendor/mpeg_recorder/QnMpegEncoder.h>

class CMpegRecorderFilter : public CFilterWrapper {
 public:
  explicit CMpegRecorderFilter(IGraphBuilder* graph);
  ~CMpegRecorderFilter() override;

  // Creates the filter (never re-adds one) and takes its five interfaces; false at the
  // first that fails, keeping what was obtained.
  BOOL AddToGraph() override;
  void RemoveFromGraph() override;

  // Formats 0 to 7 (MPEG-1, VCD-PAL, VCD-NTSC, SVCD-PAL, MPEG-2, DVD-PAL, DVD-NTSC,
  // SVCD-NTSC), quality 1 to 3. On success `fullPath` is the file the recording goes to.
  BOOL Configure(LPCSTR folder, int format, int quality, CString& fullPath);
  // Megabytes of video the configured bit rate gives in that time.
  double GetSizeForSeconds(double seconds) const;
  // The encoder's running value; 0 when it cannot be read.
  LONG GetEncoderValue();

 private:
  // Fills the settings from the format table; false for a format or quality outside it.
  BOOL ApplyFormat(int format, int quality);
  BOOL SendVideoSettings();
  BOOL SendVideoSystem();
  BOOL SendMultiplexSettings();
  BOOL SetOutputFile(LPCSTR folder, CString& fullPath);
  void ReleaseInterfaces();

  LONG m_streamType;
  LONG m_videoKbitRate;
  LONG m_videoSystem;
  LONG m_width;
  LONG m_height;
  LONG m_bufferValue;
  LONG m_multiplex[9];
  IQnMpegEncoderControl* m_pEncoderControl;
  IQnMpegMultiplexSettings* m_pMultiplex;
  IFileSinkFilter* m_pFileSink;
  IQnMpegEncoderInfo* m_pEncoderInfo;
  IQnMpegVideoSettings* m_pVideoSettings;
  CStringArray m_fileNames;
};
