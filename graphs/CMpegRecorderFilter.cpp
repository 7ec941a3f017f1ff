#include "graphs/CMpegRecorderFilter.h"

#include "graphs/CaptureFileNames.h"
#include "graphs/HeldInterfaces.h"

#include <win32/codepage.h>

#include <algorithm>
#include <iterator>

namespace {

constexpr WCHAR kName[] = L"Quarnelix Mpeg 1/2 Recorder Filter";

struct RecordFormat {
  LONG streamType;
  LONG kbitRate[3];  // by quality 1, 2, 3
  LONG width;
  LONG height;
  LONG videoSystem;
  LONG bufferValue;
};

constexpr RecordFormat kFormats[] = {
    {1, {1250, 2000, 4000}, 320, 240, 3, 4096},  // MPEG-1
    {4, {1150, 1150, 1150}, 352, 288, 3, 640},   // VCD-PAL
    {3, {1150, 1150, 1150}, 352, 240, 4, 4096},  // VCD-NTSC
    {10, {2500, 2500, 2500}, 480, 576, 3, 800},  // SVCD-PAL
    {2, {1250, 2000, 4000}, 640, 480, 3, 4096},  // MPEG-2
    {8, {4000, 6000, 8000}, 720, 576, 3, 4096},  // DVD-PAL
    {7, {4000, 6000, 8000}, 720, 480, 4, 4096},  // DVD-NTSC
    {9, {2500, 2500, 2500}, 480, 480, 4, 800},   // SVCD-NTSC
};

constexpr LONG kMultiplexValues[9] = {10, 1, 16, 16, 8, 8, 1, 1, 0};

// The plain MPEG-1 and MPEG-2 stream types take the picture size and other video systems.
bool IsPlainMpeg(LONG streamType) { return streamType == 1 || streamType == 2; }

}  // namespace

CMpegRecorderFilter::CMpegRecorderFilter(IGraphBuilder* graph)
    : m_streamType(0),
      m_videoKbitRate(0),
      m_videoSystem(0),
      m_width(0),
      m_height(0),
      m_bufferValue(0),
      m_multiplex{},
      m_pEncoderControl(nullptr),
      m_pMultiplex(nullptr),
      m_pFileSink(nullptr),
      m_pEncoderInfo(nullptr),
      m_pVideoSettings(nullptr) {
  SetGraph(graph);
}

CMpegRecorderFilter::~CMpegRecorderFilter() { RemoveFromGraph(); }

void CMpegRecorderFilter::ReleaseInterfaces() {
  ReleaseHeld(m_pEncoderControl);
  ReleaseHeld(m_pMultiplex);
  ReleaseHeld(m_pFileSink);
  ReleaseHeld(m_pEncoderInfo);
  ReleaseHeld(m_pVideoSettings);
}

void CMpegRecorderFilter::RemoveFromGraph() {
  // The interfaces hold the filter too; let them go so the filter leaves with the graph.
  ReleaseInterfaces();
  CFilterWrapper::RemoveFromGraph();
}

BOOL CMpegRecorderFilter::AddToGraph() {
  if (m_pFilter) return FALSE;
  if (FAILED(CreateAndAddFilter(m_pGraph, CLSID_QnMpegRecorder, kName, &m_pFilter))) return FALSE;
  return QueryFilterInterface(IID_IQnMpegMultiplexSettings, reinterpret_cast<void**>(&m_pMultiplex)) &&
         QueryFilterInterface(IID_IQnMpegVideoSettings, reinterpret_cast<void**>(&m_pVideoSettings)) &&
         QueryFilterInterface(IID_IQnMpegEncoderInfo, reinterpret_cast<void**>(&m_pEncoderInfo)) &&
         QueryFilterInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&m_pFileSink)) &&
         QueryFilterInterface(IID_IQnMpegEncoderControl, reinterpret_cast<void**>(&m_pEncoderControl));
}

BOOL CMpegRecorderFilter::ApplyFormat(int format, int quality) {
  // Settings records are not range-checked when loaded; a value outside the table records nothing.
  if (format < 0 || format >= static_cast<int>(std::size(kFormats)) || quality < 1 || quality > 3) return FALSE;
  const RecordFormat& entry = kFormats[format];
  m_streamType = entry.streamType;
  m_videoKbitRate = entry.kbitRate[quality - 1];
  m_videoSystem = entry.videoSystem;
  m_width = entry.width;
  m_height = entry.height;
  m_bufferValue = entry.bufferValue;
  std::copy(std::begin(kMultiplexValues), std::end(kMultiplexValues), m_multiplex);
  return TRUE;
}

BOOL CMpegRecorderFilter::SendVideoSystem() {
  if (SUCCEEDED(m_pVideoSettings->SetFrameRateCode(m_videoSystem))) return TRUE;
  if (!IsPlainMpeg(m_streamType)) return FALSE;
  return SUCCEEDED(m_pVideoSettings->SetFrameRateCode(5)) || SUCCEEDED(m_pVideoSettings->SetFrameRateCode(2));
}

BOOL CMpegRecorderFilter::SendVideoSettings() {
  if (!m_pVideoSettings) return FALSE;
  IQnMpegVideoSettings* video = m_pVideoSettings;
  const bool plain = IsPlainMpeg(m_streamType);
  return SUCCEEDED(video->SetStreamType(m_streamType)) && SUCCEEDED(video->SetVideoBitRate(m_videoKbitRate * 1000)) &&
         SendVideoSystem() && SUCCEEDED(video->SetPictureSize(plain ? m_width : 0, plain ? m_height : 0)) &&
         SUCCEEDED(video->SetVideoBufferSize(m_bufferValue)) && SUCCEEDED(video->SetSwitch14(0)) &&
         SUCCEEDED(video->SetSwitch20(1)) && SUCCEEDED(video->SetSwitch13(0)) &&
         SUCCEEDED(video->SetAudioBitRate(224)) && SUCCEEDED(video->SetSwitch46(1));
}

BOOL CMpegRecorderFilter::SendMultiplexSettings() {
  if (!m_pMultiplex) return FALSE;
  IQnMpegMultiplexSettings* mux = m_pMultiplex;
  const LONG* values = m_multiplex;  // 10, 1, 16, 16, 8, 8, 1, 1, 0
  return SUCCEEDED(mux->SetMux4(values[1])) && SUCCEEDED(mux->SetMux14(values[0])) &&
         SUCCEEDED(mux->SetMux12(values[6])) && SUCCEEDED(mux->SetMux6(values[7])) &&
         SUCCEEDED(mux->SetMux8(values[1])) && SUCCEEDED(mux->SetMux10(values[8])) &&
         SUCCEEDED(mux->SetPacketValues(values[2], values[3], values[4], values[5]));
}

BOOL CMpegRecorderFilter::SetOutputFile(LPCSTR folder, CString& fullPath) {
  if (!m_pFileSink) return FALSE;
  const CString path = CString(folder) + NextCaptureFileName(folder, "*.mpg", ".mpg", m_fileNames);
  if (!path.IsEmpty()) fullPath = path;
  WCHAR wide[512] = {};
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide, 511);
  return m_pFileSink->SetFileName(wide, nullptr) == S_OK;
}

BOOL CMpegRecorderFilter::Configure(LPCSTR folder, int format, int quality, CString& fullPath) {
  return ApplyFormat(format, quality) && SendVideoSettings() && SendMultiplexSettings() &&
         SetOutputFile(folder, fullPath);
}

double CMpegRecorderFilter::GetSizeForSeconds(double seconds) const {
  return m_videoKbitRate * seconds * 0.000125;
}

LONG CMpegRecorderFilter::GetEncoderValue() {
  LONG value = 0;
  if (!m_pVideoSettings || m_pVideoSettings->GetEncodedFrames(&value) != S_OK) return 0;
  return value;
}
